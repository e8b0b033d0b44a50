#pragma once

#include <cstddef>
#include <cstdint>

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
FrameInfo inspectFrame(const uint8_t* data, size_t available);

}  // namespace vxa
