#include "frame_painter.h"

#include <filesystem>

#include "files.h"
#include "playback/timeline/frame_budget.h"
#include "playback/timeline/playback_rules.h"
#include "tool_failure.h"

namespace vxa::tool {

namespace {
const std::string kFontFolder = "/usr/share/fonts/truetype/liberation/";
}  // namespace

raster::FontLibrary& systemFonts() {
  static raster::FontLibrary* fonts = [] {
    auto* library = new raster::FontLibrary;
    for (const std::string& name : raster::FontLibrary::neededFiles()) {
      if (!std::filesystem::exists(kFontFolder + name)) {
        fail(kFontFolder + name + " is missing: texts are drawn in the Liberation fonts "
             "(sudo apt-get install fonts-liberation)");
      }
      library->addFile(name, readBytes(kFontFolder + name));
    }
    return library;
  }();
  return *fonts;
}

FramePainter::FramePainter(const vxa::MovieModel& movie)
    : movie_(movie), groups_(movie.groupCount()), prepared_(static_cast<size_t>(movie.groupCount())) {
  const vxa::Header& header = movie.header();
  if (header.width <= 0 || header.height <= 0) {
    fail("the movie is " + std::to_string(header.width) + " x " + std::to_string(header.height) +
         " pixels: it has no picture");
  }
  if (pictureTooLarge(header.width, header.height)) {
    fail("the movie is " + std::to_string(header.width) + " x " + std::to_string(header.height) +
         " pixels: too large a picture to show");
  }
  picture_ = raster::Image(header.width, header.height);
}

const raster::Image& FramePainter::paint(int16_t n) {
  const FrameRecord* record = movie_.frame(n);
  raster::FrameContent content;
  content.backgroundIndex = static_cast<uint8_t>(movie_.header().background - 1);
  for (const FrameItem& item : record->items) {
    content.items.push_back({item.groupId, item.x, item.y});
    if (!playback::namesGroup(item.groupId, movie_.groupCount())) continue;
    std::shared_ptr<const vxa::GroupRecord> group = movie_.group(item.groupId);
    std::shared_ptr<const vxa::GroupRecord>& prepared = prepared_[item.groupId - 1];
    if (group && group != prepared) {
      groups_.put(*group);
      prepared = std::move(group);
    }
  }
  raster::composeFrame(picture_, content, groups_, systemFonts());
  return picture_;
}

}  // namespace vxa::tool
