#pragma once
// How a block of the stream gets into a movie, shared by the plug-in's
// intake and the portable movie model: a block is decoded whole and checked
// against the tables before anything of it is entered, and a frame's
// repeated items are copied from the frame before it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/format/block.h"
#include "core/format/header.h"
#include "core/model/frame_record.h"

namespace vxa {

// What is said of a stream that holds a block length of 0x8000 or more: such
// a block never completes, so nothing after it can be read.
extern const char kBrokenStreamReason[];

// Decodes the body and checks it against tables of frameCount frames and
// groupCount groups. Empty when the block may enter; otherwise why it is
// refused (then `out` holds nothing meaningful).
std::string acceptBlock(const uint8_t* body, size_t length, Layout layout, int16_t frameCount, int16_t groupCount,
                        Block& out);

// The record of a frame part (number 1 or more). A repeated item takes the
// item with the same index of `previous` (the record of frame F - 1 as it is
// in the table now: null when it has not arrived or was let go); a repeat
// with nothing to copy stays all zero and names no group.
FrameRecord frameRecordFor(const FramePart& part, const FrameRecord* previous);

}  // namespace vxa
