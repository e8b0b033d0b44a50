#pragma once

#include <cstdint>
#include <vector>

#include "core/format/block.h"
#include "core/format/header.h"
#include "core/format/stream.h"

namespace vxa::samples {

// The documented example: frame 1 placing group 1 at (10, 20), and group 1,
// 32 x 16, holding one rectangle. Length bytes included.
std::vector<uint8_t> exampleBlockBytes();
// Frame 2 repeating frame 1's only item. Length bytes included.
std::vector<uint8_t> exampleRepeatBlockBytes();

// A group holding every object kind, unknown kinds, empty strings, strings
// with carriage returns and bytes above 0x7F, and non-zero ignored fields.
GroupRecord everyKindGroup(int16_t id);

// A stream exercising every field the layout has: reserved header fields,
// frame 0 with a filler, explicit and repeated items, a group with no
// objects, a group id that arrives twice.
Stream richStream(Layout layout);

// The bytes of a stream of `blockCount` varied blocks (for chunking tests).
std::vector<uint8_t> longStreamBytes(Layout layout, int blockCount);

}  // namespace vxa::samples
