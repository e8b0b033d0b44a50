#pragma once

#include <cstdint>
#include <vector>

#include "core/format/block.h"
#include "core/format/header.h"

namespace vxa {

// Appends the block's 2 length bytes and its body. Throws std::invalid_argument,
// leaving `out` as it was, for a block that has no exact encoding: a body over
// 32767 bytes, a count that does not fit its field, a string holding a NUL, or
// a field set that the layout or the record's kind does not store (wide-only
// fields in the narrow layout, payload of another kind, fields of a repeat, a
// negative group record count beside group records).
void encodeBlock(const Block& block, Layout layout, std::vector<uint8_t>& out);

}  // namespace vxa
