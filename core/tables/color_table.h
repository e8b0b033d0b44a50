#pragma once
// The fixed colour table through which every colour index of a movie becomes a
// colour. The stream carries no colours of its own, only indices into this.
// The plug-in, the portable renderer and the tools all read this one table.
#include <array>
#include <cstdint>

// 256 colours in the Windows COLORREF layout, flag byte included: bits 0..7
// red, 8..15 green, 16..23 blue; a flag byte of 0x02 marks a palette-relative
// colour (matched against the movie's palette on a 256-colour display), 0x00
// one of the 20 plain colours that every display has in its system palette.
extern const std::array<uint32_t, 256> ColorTable;

constexpr uint8_t kPaletteRelativeFlag = 0x02;

inline bool isPaletteRelative(uint32_t color) { return (color >> 24) == kPaletteRelativeFlag; }

// Only the low 8 bits of index are used.
uint32_t colorForIndex(int index);

// The colour as the true-colour surfaces the movies are drawn on show it:
// 0x00RRGGBB, the flag byte dropped.
inline uint32_t rgbForIndex(int index) {
    const uint32_t c = colorForIndex(index);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}
