#pragma once
// The sizes and limits of the stream's layout, named once. Every reader,
// writer and checker of streams takes them from here.
#include <cstddef>
#include <cstdint>

namespace vxa {

// Every block starts with a 16-bit big-endian body length.
constexpr size_t kLengthFieldSize = 2;
// A length field of this or more is negative as a signed value: it announces
// a block that can never be complete, and the rest of the stream is lost.
constexpr size_t kFirstBrokenLength = 0x8000;
// The longest body a length field can announce.
constexpr size_t kMaxBodyLength = kFirstBrokenLength - 1;

// The header: the wide layout's version, loop, wait and reserved fields,
// then the fields both layouts share (width, height, background, rate,
// group count, frame count).
constexpr size_t kWidePrefixSize = 10;
constexpr size_t kSharedHeaderSize = 10;
constexpr size_t kNarrowHeaderSize = kSharedHeaderSize;
constexpr size_t kWideHeaderSize = kWidePrefixSize + kSharedHeaderSize;

// The largest count a count field holds: 16 bits signed in the wide layout,
// one byte in the narrow one.
constexpr size_t kWideCountLimit = 32767;
constexpr size_t kNarrowCountLimit = 255;

}  // namespace vxa

// Pattern numbers with a meaning of their own; every other value names one
// of the 64 tiles.
namespace Pattern {
constexpr int None = 255;       // no brush, no line
constexpr int SolidSecond = 0;  // solid in the second colour of the pair
constexpr int SolidFirst = 12;  // solid in the first colour of the pair
}  // namespace Pattern
