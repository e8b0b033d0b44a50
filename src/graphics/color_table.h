#pragma once
// The fixed colour table through which every colour index of a movie becomes a
// colour. The stream carries no colours of its own, only indices into this.
#include <windows.h>

#include <array>
#include <cstdint>

// 256 colours in the platform's format, flag byte included: 0x02 marks a
// palette-relative colour (matched against the movie's palette on a
// 256-colour display), 0x00 one of the 20 plain colours that every display
// has in its system palette.
extern const std::array<COLORREF, 256> ColorTable;

constexpr uint8_t kPaletteRelativeFlag = 0x02;

inline bool isPaletteRelative(COLORREF color) { return (color >> 24) == kPaletteRelativeFlag; }

// Only the low 8 bits of index are used.
COLORREF colorForIndex(int index);
