#include "core/tables/color_table.h"

#include <array>
#include <cstddef>

namespace {

// The 6 x 6 x 6 cube's levels and the ten-step ramp of the pure reds, greens,
// blues and greys that follow it.
constexpr uint8_t kCubeLevels[6] = {255, 204, 153, 102, 51, 0};
constexpr uint8_t kRamp[10] = {238, 221, 187, 170, 136, 119, 85, 68, 34, 17};

// The entries that hold the display's own fixed colours instead of the
// table's: a 256-colour display keeps these 20 in its system palette, so they
// need no palette slot. Several differ slightly from the cube colour they
// replace.
struct PlainColor {
    int index;
    uint8_t red, green, blue;
};
constexpr PlainColor kPlainColors[] = {
    {0, 255, 255, 255},  {5, 255, 255, 0},     {30, 255, 0, 255},    {35, 255, 0, 0},      {37, 192, 220, 192},
    {43, 192, 192, 192}, {78, 166, 202, 240},  {104, 128, 0, 128},   {180, 0, 255, 255},   {185, 0, 255, 0},
    {194, 0, 128, 128},  {210, 0, 0, 255},     {213, 0, 0, 128},     {219, 128, 0, 0},     {229, 0, 128, 0},
    {239, 0, 0, 128},    {245, 255, 251, 240}, {248, 160, 160, 164}, {249, 128, 128, 128}, {255, 0, 0, 0},
};

constexpr uint32_t compose(uint8_t flag, uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16 |
           static_cast<uint32_t>(flag) << 24;
}

constexpr std::array<uint32_t, 256> buildTable() {
    std::array<uint32_t, 256> table{};
    for (int k = 0; k < 215; ++k) {
        table[k] = compose(kPaletteRelativeFlag, kCubeLevels[k / 36], kCubeLevels[(k / 6) % 6], kCubeLevels[k % 6]);
    }
    for (int k = 0; k < 10; ++k) {
        const uint8_t v = kRamp[k];
        table[215 + k] = compose(kPaletteRelativeFlag, v, 0, 0);
        table[225 + k] = compose(kPaletteRelativeFlag, 0, v, 0);
        table[235 + k] = compose(kPaletteRelativeFlag, 0, 0, v);
        table[245 + k] = compose(kPaletteRelativeFlag, v, v, v);
    }
    for (const PlainColor& plain : kPlainColors) {
        table[plain.index] = compose(0, plain.red, plain.green, plain.blue);
    }
    return table;
}

}  // namespace

// A constant expression: the table is filled before any code runs, so it may
// be read during other translation units' static initialisation too.
const std::array<uint32_t, 256> ColorTable = buildTable();

uint32_t colorForIndex(int index) { return ColorTable[static_cast<std::size_t>(index & 0xFF)]; }
