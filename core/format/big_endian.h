#pragma once

#include <cstdint>
#include <vector>

namespace vxa {

// Every 16-bit value of a .vxa stream is stored high byte first and read as signed.
inline int16_t readBigEndian16(const uint8_t* source) {
    return static_cast<int16_t>(static_cast<uint16_t>((source[0] << 8) | source[1]));
}

inline void appendBigEndian16(std::vector<uint8_t>& out, int16_t value) {
    const auto bits = static_cast<uint16_t>(value);
    out.push_back(static_cast<uint8_t>(bits >> 8));
    out.push_back(static_cast<uint8_t>(bits & 0xFF));
}

}  // namespace vxa
