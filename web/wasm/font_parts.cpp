#include "web/wasm/font_parts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GZIP_H

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>

namespace web {

namespace {

constexpr const char* kPartBytes[] = {
#include "web/fonts/font_parts.inc"
};
static_assert(std::size(kPartBytes) <= kMaxFontParts, "a part's dependencies are a 32-bit mask");

const std::array<uint8_t, 256>& partOfByte() {
  static const std::array<uint8_t, 256> parts = [] {
    std::array<uint8_t, 256> table{};
    for (size_t part = 0; part < std::size(kPartBytes); ++part) {
      for (const char* c = kPartBytes[part]; *c; ++c) table[static_cast<uint8_t>(*c)] = static_cast<uint8_t>(part);
    }
    return table;
  }();
  return parts;
}

// The largest file a part may describe: ten times the largest face.
constexpr uint32_t kMaxFileLength = 4 * 1024 * 1024;
constexpr size_t kHeaderLength = 16;
const std::string kSuffix = ".fontpart";
const std::string kFontExtension = ".ttf";

uint32_t word(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
         static_cast<uint32_t>(at[2]) << 8 | at[3];
}

void* allocate(FT_Memory, long size) { return std::malloc(static_cast<size_t>(size)); }
void release(FT_Memory, void* block) { std::free(block); }
void* reallocate(FT_Memory, long, long size, void* block) { return std::realloc(block, static_cast<size_t>(size)); }

}  // namespace

int fontPartOf(uint8_t byte) { return partOfByte()[byte]; }

std::string fontPartName(const std::string& fileName, int part) {
  std::string stem = fileName;
  if (stem.size() > kFontExtension.size() &&
      stem.compare(stem.size() - kFontExtension.size(), kFontExtension.size(), kFontExtension) == 0) {
    stem.resize(stem.size() - kFontExtension.size());
  }
  return stem + "." + std::to_string(part) + kSuffix;
}

bool parseFontPartName(const std::string& partName, std::string& fileName, int& part) {
  if (partName.size() <= kSuffix.size() ||
      partName.compare(partName.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
    return false;
  }
  const std::string rest = partName.substr(0, partName.size() - kSuffix.size());
  const size_t dot = rest.rfind('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == rest.size() || rest.size() - dot > 3) return false;
  int number = 0;
  for (size_t i = dot + 1; i < rest.size(); ++i) {
    if (rest[i] < '0' || rest[i] > '9') return false;
    number = number * 10 + (rest[i] - '0');
  }
  if (number >= kMaxFontParts) return false;
  fileName = rest.substr(0, dot) + kFontExtension;
  part = number;
  return true;
}

bool FontFileParts::take(int part, const uint8_t* bytes, size_t size) {
  if (part < 0 || part >= kMaxFontParts || size < kHeaderLength) return false;
  const uint32_t fileLength = word(bytes);
  const uint32_t offset = word(bytes + 4);
  const uint32_t length = word(bytes + 8);
  if (fileLength == 0 || fileLength > kMaxFileLength || offset > fileLength || length > fileLength - offset) return false;
  if ((part == 0) != (offset == 0)) return false;
  if (!file_.empty() && file_.size() != fileLength) return false;

  std::vector<uint8_t> run(length);
  FT_MemoryRec_ memory{nullptr, allocate, release, reallocate};
  FT_ULong inflated = length;
  uint8_t none = 0;  // an empty run still needs somewhere to go
  if (FT_Gzip_Uncompress(&memory, length ? run.data() : &none, &inflated, bytes + kHeaderLength,
                         size - kHeaderLength) != 0 ||
      inflated != length) {
    return false;
  }
  if (file_.empty()) file_.assign(fileLength, 0);
  std::copy(run.begin(), run.end(), file_.begin() + offset);
  dependencies_[part] = word(bytes + 12);
  arrived_ |= bit(part);
  settled_ |= bit(part);
  return true;
}

uint32_t FontFileParts::needed(const std::string& text) const {
  uint32_t parts = 1;
  for (const char c : text) parts |= bit(fontPartOf(static_cast<uint8_t>(c)));
  for (uint32_t known = 0; known != parts;) {
    known = parts;
    for (int part = 0; part < kMaxFontParts; ++part) {
      if (known & arrived_ & bit(part)) parts |= dependencies_[part];
    }
  }
  return parts;
}

}  // namespace web
