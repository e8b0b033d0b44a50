#include "byte_text.h"

#include <cstdint>
#include <cstdio>

#include "source_error.h"

namespace vxa::tool {

std::string bytesToText(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte < 0x80) {
      text.push_back(c);
    } else {
      text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return text;
}

std::string textToBytes(const std::string& text, const std::string& path) {
  // The JSON parser has already checked that the text is well-formed UTF-8.
  std::string bytes;
  bytes.reserve(text.size());
  size_t character = 0;
  for (size_t i = 0; i < text.size(); ++character) {
    const auto lead = static_cast<uint8_t>(text[i]);
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length && i + k < text.size(); ++k) {
      codePoint = (codePoint << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
    }
    i += length;
    if (codePoint == 0) {
      sourceError(path, "character " + std::to_string(character) +
                            " is NUL, which would end the string in the stream");
    }
    if (codePoint > 0xFF) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
      sourceError(path, "character " + std::to_string(character) + " (" + name +
                            ") is above U+00FF: each character stands for one byte");
    }
    bytes.push_back(static_cast<char>(codePoint));
  }
  return bytes;
}

}  // namespace vxa::tool
