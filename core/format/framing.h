#pragma once

#include <cstddef>
#include <cstdint>

#include "core/format/wire.h"

namespace vxa {

// Where the next block of a run of bytes stands. A length field of 0x8000 or
// more is negative as a signed value and announces a block that can never be
// complete, so the rest of the stream cannot be read.
enum class Framing { Complete, NeedMore, BadLength };

struct FrameInfo {
    Framing status;
    size_t bodyLength;  // meaningful unless NeedMore with fewer than 2 bytes
};

// Looks at the `available` bytes that start with a block's length field.
// Inline: the stream reader calls it for every chunk, however small.
inline FrameInfo checkFraming(const uint8_t* data, size_t available) {
    if (available < kLengthFieldSize) return {Framing::NeedMore, 0};
    const size_t length = (static_cast<size_t>(data[0]) << 8) | data[1];
    if (length >= kFirstBrokenLength) return {Framing::BadLength, length};
    if (available - kLengthFieldSize < length) return {Framing::NeedMore, length};
    return {Framing::Complete, length};
}

}  // namespace vxa
