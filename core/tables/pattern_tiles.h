#pragma once
// The 64 monochrome 8 x 8 fill patterns. Pattern p (1..64) is tile p - 1:
// eight rows, top row first, the most significant bit the leftmost pixel; a
// set bit takes the first colour of the pair, a clear bit the second.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/format/wire.h"

using PatternTile = std::array<uint8_t, 8>;

extern const std::array<PatternTile, 64> PatternTiles;

// The tile a pattern number names: only its low byte counts, and numbers past
// 64 wrap around the 64 tiles (65 is tile 0, pattern 1's).
inline const PatternTile& tileForPattern(int pattern) {
    return PatternTiles[static_cast<std::size_t>(((pattern & 0xFF) - 1) & 0x3F)];
}
