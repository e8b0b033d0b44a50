#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vxa {

// The first 16-bit value of a stream decides its layout: 10000..32767 is a
// format version (wide layout), anything else is the width of a narrow stream.
enum class Layout { Narrow, Wide };

constexpr int16_t kFirstWideVersion = 10000;

// Every header field is kept raw, reserved ones included, so that encoding a
// decoded header gives back the same bytes.
struct Header {
    Layout layout = Layout::Wide;
    int16_t version = kFirstWideVersion;  // 0 in the narrow layout
    int8_t loop = 0;                      // wide only
    int8_t wait = 0;                      // wide only
    uint8_t reserved4 = 0;                // wide only
    uint8_t reserved5 = 0;                // wide only
    int16_t reserved6 = 0;                // wide only
    int16_t reserved8 = 0;                // wide only
    int16_t width = 0;
    int16_t height = 0;
    uint8_t background = 0;  // colour byte: colour-table index + 1, modulo 256
    uint8_t frameRate = 0;
    int16_t groupCount = 0;
    int16_t frameCount = 0;
};

bool operator==(const Header& a, const Header& b);
inline bool operator!=(const Header& a, const Header& b) { return !(a == b); }

// 20 bytes for the wide layout, 10 for the narrow one.
size_t headerSize(Layout layout);

enum class HeaderStatus { Complete, NeedMore };

// Needs 2 bytes to learn the layout, then the whole header; reads nothing
// beyond `length`. `out` is set only when the result is Complete.
HeaderStatus decodeHeader(const uint8_t* data, size_t length, Header& out);

// Appends the header's bytes. Throws std::invalid_argument for a header whose
// bytes would be read back differently (a wide version below 10000, a narrow
// width of 10000 or more, or wide-only fields set in a narrow header).
void encodeHeader(const Header& header, std::vector<uint8_t>& out);

}  // namespace vxa
