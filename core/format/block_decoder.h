#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/format/block.h"
#include "core/format/header.h"

namespace vxa {

struct DecodeError {
    size_t offset = 0;    // within the body
    std::string message;  // what is wrong, e.g. "text of object 3 in group 7 runs past the end of the block"
};

// Decodes one whole block body and checks its structure: the records must fill
// exactly `length` bytes, object and point counts must not be negative and
// every string must end with a NUL inside the block. A negative group record
// count means no group records (Block::negativeGroupCount). Never reads outside [body, body + length).
// Repeated items come back with presence 0 and every other field 0. On false,
// `error` says what and where and `out` holds no meaningful content.
bool decodeBlock(const uint8_t* body, size_t length, Layout layout, Block& out, DecodeError& error);

}  // namespace vxa
