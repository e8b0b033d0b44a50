#include "frame_painter.h"

#include <filesystem>

#include "files.h"
#include "core/model/frame_budget.h"
#include "tool_failure.h"

namespace vxa::tool {

namespace {
const std::string kFontFolder = "/usr/share/fonts/truetype/liberation/";
}  // namespace

void addSystemFonts(raster::FontLibrary& library) {
  for (const std::string& name : raster::FontLibrary::neededFiles()) {
    if (!std::filesystem::exists(kFontFolder + name)) {
      fail(kFontFolder + name + " is missing: texts are drawn in the Liberation fonts "
           "(sudo apt-get install fonts-liberation)");
    }
    library.addFile(name, readBytes(kFontFolder + name));
  }
}

raster::FontLibrary& systemFonts() {
  static raster::FontLibrary* fonts = [] {
    auto* library = new raster::FontLibrary;
    addSystemFonts(*library);
    return library;
  }();
  return *fonts;
}

FramePainter::FramePainter(const vxa::MovieModel& movie)
    : movie_(movie) {
  const vxa::Header& header = movie.header();
  if (header.width <= 0 || header.height <= 0) {
    fail("the movie is " + std::to_string(header.width) + " x " + std::to_string(header.height) +
         " pixels: it has no picture");
  }
  if (pictureTooLarge(header.width, header.height)) {
    fail("the movie is " + std::to_string(header.width) + " x " + std::to_string(header.height) +
         " pixels: too large a picture to show");
  }
  composer_.emplace(header.width, header.height, movie.groupCount());
}

const raster::Image& FramePainter::paint(int16_t n) {
  composer_->compose(movie_, n, systemFonts());
  return composer_->picture();
}

}  // namespace vxa::tool
