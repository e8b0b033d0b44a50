#pragma once

#include <string>

namespace vxa::tool {

// Stream strings are bytes; in a JSON source each byte is the character with
// the same code point (U+0000..U+00FF), so Windows-1252 text survives unchanged.

// Bytes to UTF-8 text for a JSON string.
std::string bytesToText(const std::string& bytes);

// UTF-8 text of a JSON string to bytes. Throws SourceError at `path` for a
// character above U+00FF or a NUL, which would end the string in the stream.
std::string textToBytes(const std::string& text, const std::string& path);

}  // namespace vxa::tool
