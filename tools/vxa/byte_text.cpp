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

std::string bytesToHex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const uint8_t byte : bytes) {
    if (!text.empty()) text.push_back(' ');
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

std::vector<uint8_t> hexToBytes(const std::string& text, const std::string& path) {
  const auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const int high = digit(text[i]);
    const int low = i + 1 < text.size() ? digit(text[i + 1]) : -1;
    if (high < 0 || low < 0) {
      sourceError(path, "character " + std::to_string(high < 0 ? i : i + 1) +
                            ": expected pairs of hex digits, one pair a byte");
    }
    bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    i += 2;
  }
  return bytes;
}

}  // namespace vxa::tool
