#include "web/wasm/page_fonts.h"

namespace web {

void PageFonts::provide(const std::string& partName, std::vector<uint8_t> bytes) {
  std::string fileName;
  int part = 0;
  if (!parseFontPartName(partName, fileName, part)) return;
  FontFileParts& file = files_[fileName];
  if (!file.take(part, bytes.data(), bytes.size())) file.missing(part);
  offer(fileName, file);
}

void PageFonts::missing(const std::string& partName) {
  std::string fileName;
  int part = 0;
  if (!parseFontPartName(partName, fileName, part)) return;
  FontFileParts& file = files_[fileName];
  file.missing(part);
  offer(fileName, file);
}

// Each time the renderer is given a file, the faces made of it are made
// anew: it takes the file as parts arrive only once every part asked for so
// far is settled, and earlier only when a text waiting to be shown needs it.
void PageFonts::offer(const std::string& fileName, const FontFileParts& file) {
  if (file.usable() && (file.asked() & ~file.settledParts()) == 0) give(fileName, file);
}

void PageFonts::give(const std::string& fileName, const FontFileParts& file) {
  uint32_t& given = given_[fileName];
  if (given == file.settledParts() && library_.hasFile(fileName)) return;
  given = file.settledParts();
  library_.addFile(fileName, file.bytes());
}

bool PageFonts::drawable(const std::string& fileName, const std::string& text, std::vector<std::string>& toFetch) {
  FontFileParts& file = files_[fileName];
  if (file.settled(0) && !file.usable()) return true;  // the file cannot be had: its text is not drawn
  const uint32_t needed = file.needed(text);
  for (int part = 0; part < kMaxFontParts; ++part) {
    if ((needed >> part & 1) && !file.settled(part)) toFetch.push_back(fontPartName(fileName, part));
  }
  file.ask(needed);
  if ((needed & ~file.settledParts()) != 0) return false;
  // A text that waits for nothing more is not held back for the parts that
  // later texts asked for.
  if ((needed & ~given_[fileName]) != 0) give(fileName, file);
  return true;
}

PageFonts& pageFonts() {
  static PageFonts fonts;
  return fonts;
}

}  // namespace web
