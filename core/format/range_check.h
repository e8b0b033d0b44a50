#pragma once

#include <cstdint>
#include <string>

#include "core/format/block.h"

namespace vxa {

// The frame and group tables have exactly frameCount and groupCount slots, so
// a block may name only frame 0 (none) or 1..frameCount, and only group ids
// 1..groupCount in its explicit items and group records. Returns an empty
// string when the block keeps to that, otherwise what is out of range.
std::string checkRanges(const Block& block, int16_t frameCount, int16_t groupCount);

}  // namespace vxa
