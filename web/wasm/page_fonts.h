#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/raster/text.h"
#include "web/wasm/font_parts.h"

namespace web {

// The font files the page hands in, part by part (font_parts.h).
class PageFonts {
 public:
  raster::FontLibrary& library() { return library_; }
  // A part as fetched, under the name it was asked for by.
  void provide(const std::string& partName, std::vector<uint8_t> bytes);
  // The part could not be had (its glyphs are not drawn; without part 0,
  // none of the file's).
  void missing(const std::string& partName);
  // Whether text of these bytes can be drawn as it should: every part of
  // the file it needs is in or known to be missing, and the renderer has
  // them. Adds to toFetch the parts it needs that are not settled.
  bool drawable(const std::string& fileName, const std::string& text, std::vector<std::string>& toFetch);

 private:
  void offer(const std::string& fileName, const FontFileParts& file);
  void give(const std::string& fileName, const FontFileParts& file);

  raster::FontLibrary library_;
  std::map<std::string, FontFileParts> files_;
  std::map<std::string, uint32_t> given_;  // the parts settled when the renderer last took each file
};

PageFonts& pageFonts();

}  // namespace web
