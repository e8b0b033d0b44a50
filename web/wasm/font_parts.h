#pragma once
// A font file as the web player fetches it: in parts, which
// web/fonts/cut_font.py lays out. Part 0 is the file's tables with the most
// used glyphs, every other part the glyphs of a few more text bytes
// (web/fonts/font_parts.inc), so a movie
// fetches about the glyphs its texts use. A file put together from part 0
// and the parts a text needs draws that text as the whole file does; the
// glyphs of parts not fetched are zeros, which no such text reaches.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace web {

constexpr int kMaxFontParts = 32;  // a part's dependencies are a 32-bit mask

// The part holding the glyph of a text byte.
int fontPartOf(uint8_t byte);

// The name a part of a font file is fetched by: "LiberationSans-Bold.ttf"
// and 3 give "LiberationSans-Bold.3.fontpart".
std::string fontPartName(const std::string& fileName, int part);
// The other way round; false for a name that is no part's.
bool parseFontPartName(const std::string& partName, std::string& fileName, int& part);

// One font file, put together from its parts as they arrive.
class FontFileParts {
 public:
  // A part as fetched: its header and its compressed run of the file. False,
  // with nothing taken, for bytes that are not that (a damaged or foreign
  // file, a run outside the file or at odds with the parts already in).
  bool take(int part, const uint8_t* bytes, size_t size);
  // The part could not be had: its glyphs stay zeros.
  void missing(int part) { settled_ |= bit(part); }

  // The parts text of these bytes needs, as far as known: part 0, each
  // byte's part, and those their glyphs take components from (known once
  // the parts naming them are in).
  uint32_t needed(const std::string& text) const;
  bool settled(int part) const { return (settled_ & bit(part)) != 0; }
  uint32_t settledParts() const { return settled_; }
  // The parts a player has asked for, for its own bookkeeping.
  void ask(uint32_t parts) { asked_ |= parts; }
  uint32_t asked() const { return asked_; }
  bool usable() const { return (arrived_ & 1) != 0; }
  // The file as far as it came; empty until part 0 is in.
  const std::vector<uint8_t>& bytes() const { return file_; }

 private:
  static uint32_t bit(int part) { return uint32_t{1} << part; }

  std::vector<uint8_t> file_;
  uint32_t arrived_ = 0;
  uint32_t settled_ = 0;
  uint32_t asked_ = 0;
  uint32_t dependencies_[kMaxFontParts] = {};
};

}  // namespace web
