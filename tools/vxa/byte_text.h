#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxa::tool {

// Stream strings are bytes; in a JSON source each byte is the character with
// the same code point (U+0000..U+00FF), so Windows-1252 text survives unchanged.

// Bytes to UTF-8 text for a JSON string.
std::string bytesToText(const std::string& bytes);

// UTF-8 text of a JSON string to bytes. Throws SourceError at `path` for a
// character above U+00FF or a NUL, which would end the string in the stream.
std::string textToBytes(const std::string& text, const std::string& path);

// Raw stream bytes for a JSON source: two hex digits a byte, a space between
// bytes ("00 09 ff").
std::string bytesToHex(const std::vector<uint8_t>& bytes);

// Hex text back to bytes: pairs of hex digits, spaces allowed between pairs.
// Throws SourceError at `path` for anything else.
std::vector<uint8_t> hexToBytes(const std::string& text, const std::string& path);

}  // namespace vxa::tool
