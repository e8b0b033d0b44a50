// The colour table and the palette: read back as values and as drawn pixels.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/tables/color_table.h"
#include "graphics/palette.h"
#include "test_surface.h"

namespace {

// The table as documented, written out independently of the product's
// construction: the cube and ramps by rule, then the 20 plain entries.
struct Plain {
    int index;
    COLORREF color;
};
const Plain kPlain[] = {
    {0, RGB(255, 255, 255)},   {5, RGB(255, 255, 0)},     {30, RGB(255, 0, 255)},  {35, RGB(255, 0, 0)},
    {37, RGB(192, 220, 192)},  {43, RGB(192, 192, 192)},  {78, RGB(166, 202, 240)}, {104, RGB(128, 0, 128)},
    {180, RGB(0, 255, 255)},   {185, RGB(0, 255, 0)},     {194, RGB(0, 128, 128)}, {210, RGB(0, 0, 255)},
    {213, RGB(0, 0, 128)},     {219, RGB(128, 0, 0)},     {229, RGB(0, 128, 0)},   {239, RGB(0, 0, 128)},
    {245, RGB(255, 251, 240)}, {248, RGB(160, 160, 164)}, {249, RGB(128, 128, 128)}, {255, RGB(0, 0, 0)},
};

std::vector<COLORREF> documentedTable() {
    const int levels[6] = {255, 204, 153, 102, 51, 0};
    const int ramp[10] = {238, 221, 187, 170, 136, 119, 85, 68, 34, 17};
    std::vector<COLORREF> table(256);
    for (int k = 0; k < 215; ++k) table[k] = 0x02000000 | RGB(levels[k / 36], levels[k / 6 % 6], levels[k % 6]);
    for (int k = 215; k < 225; ++k) table[k] = 0x02000000 | RGB(ramp[k - 215], 0, 0);
    for (int k = 225; k < 235; ++k) table[k] = 0x02000000 | RGB(0, ramp[k - 225], 0);
    for (int k = 235; k < 245; ++k) table[k] = 0x02000000 | RGB(0, 0, ramp[k - 235]);
    for (int k = 245; k < 255; ++k) table[k] = 0x02000000 | RGB(ramp[k - 245], ramp[k - 245], ramp[k - 245]);
    table[255] = 0;
    for (const Plain& plain : kPlain) table[plain.index] = plain.color;
    return table;
}

TEST(ColorTable, EveryIndexHoldsTheDocumentedColourAndFlag) {
    const std::vector<COLORREF> expected = documentedTable();
    for (int i = 0; i < 256; ++i) EXPECT_EQ(expected[i], colorForIndex(i)) << "index " << i;
}

TEST(ColorTable, OnlyTheLowByteOfTheIndexCounts) {
    EXPECT_EQ(colorForIndex(0), colorForIndex(256));
    EXPECT_EQ(colorForIndex(255), colorForIndex(-1));
}

TEST(ColorTable, EveryColourDrawsAsItsRgbOnATrueColourSurface) {
    TestSurface canvas(64, 64);
    for (int i = 0; i < 256; ++i) {
        paint(canvas.dc(), RECT{i % 16 * 4, i / 16 * 4, i % 16 * 4 + 4, i / 16 * 4 + 4}, colorForIndex(i));
    }
    const Snapshot shot = canvas.snapshot();
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(hex(rgbOfIndex(i)), hex(shot.at(i % 16 * 4 + 1, i / 16 * 4 + 2))) << "index " << i;
    }
}

TEST(MoviePalette, Holds236EntriesInTableOrderWithoutThePlainColours) {
    HPALETTE palette = createMoviePalette();
    ASSERT_NE(nullptr, palette);
    WORD count = 0;
    ASSERT_EQ(static_cast<int>(sizeof count), GetObjectA(palette, sizeof count, &count));
    EXPECT_EQ(236, count);
    std::vector<PALETTEENTRY> entries(256);
    ASSERT_EQ(236u, GetPaletteEntries(palette, 0, 256, entries.data()));

    std::set<int> plain;
    for (const Plain& p : kPlain) plain.insert(p.index);
    const std::vector<COLORREF> table = documentedTable();
    size_t next = 0;
    for (int k = 0; k < 256; ++k) {
        if (plain.count(k)) continue;
        ASSERT_LT(next, 236u);
        const PALETTEENTRY& e = entries[next++];
        EXPECT_EQ(table[k] & 0xFFFFFF, RGB(e.peRed, e.peGreen, e.peBlue)) << "table index " << k;
        EXPECT_EQ(0, e.peFlags);
    }
    EXPECT_EQ(236u, next);
    DeleteObject(palette);
}

}  // namespace
