// vxa info MOVIE.vxa: what a movie is: its layout, size, pace, flags and
// counts, how long one pass plays, how busy its frames are, which sounds it
// names.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>

#include "arguments.h"
#include "commands.h"
#include "core/tables/color_table.h"
#include "local_playback.h"
#include "core/model/movie_model.h"
#include "movie_file.h"
#include "core/timeline/playback_rules.h"

namespace vxa::tool {
namespace {

std::string yesNo(bool yes, const std::string& how) { return yes ? "yes, " + how : "no"; }

std::string seconds(uint32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%02u s", ms / 1000, ms % 1000 / 10);
  return text;
}

std::string onePass(const MovieFile& file, const MovieModel& model) {
  const OnePass pass = playOnePass(file.bytes(), model.frameCount(), file.header().frameRate);
  if (!pass.plays) return "nothing plays";
  if (!pass.ms) return "playback stalls at frame " + std::to_string(pass.stalledAt) + ", " +
                       seconds(pass.stalledAfter) + " after the first frame";
  return seconds(*pass.ms) + " (frames 1 to " + std::to_string(model.frameCount()) + ")";
}

}  // namespace

int infoCommand(const Args& args) {
  const Arguments arguments("info", args, {});
  const MovieFile file(arguments.input());
  const Header& h = file.header();
  MovieModel model;
  model.append(file.bytes().data(), file.bytes().size());

  std::vector<size_t> objects;
  std::set<int> sounds;
  int framesSent = 0;
  for (int n = 1; n <= model.frameCount(); ++n) {
    const FrameRecord* frame = model.frame(n);
    if (!frame) continue;
    ++framesSent;
    if (frame->soundNumber) sounds.insert(frame->soundNumber);
    size_t count = 0;
    for (const FrameItem& item : frame->items) {
      if (const auto group = model.group(item.groupId)) count += group->objects.size();
    }
    objects.push_back(count);
  }
  int groupsSent = 0;
  for (int id = 1; id <= model.groupCount(); ++id) groupsSent += model.group(id) != nullptr;

  const uint8_t index = static_cast<uint8_t>(h.background - 1);
  char colour[16];
  std::snprintf(colour, sizeof colour, "#%06x", rgbForIndex(index));
  std::cout << "layout: " << (h.layout == Layout::Wide ? "wide, version " + std::to_string(h.version) : "narrow")
            << "\n";
  std::cout << "size: " << h.width << " x " << h.height << " pixels\n";
  std::cout << "background: colour " << int(index) << " (" << colour << ")\n";
  std::cout << "frame rate: " << int(h.frameRate) << " a second";
  if (h.frameRate == 0) std::cout << " (played as 1)";
  std::cout << ": a frame every " << playback::frameInterval(h.frameRate) << " ms asked, every "
            << lastFrameHold(h.frameRate) << " ms shown\n";
  std::cout << "loops: " << yesNo(model.loops(), "back to frame 6 after frame " + std::to_string(h.frameCount)) << "\n";
  std::cout << "waits for a click: " << yesNo(model.waitsForClick(), "on frame 6") << "\n";
  std::cout << "frames: " << h.frameCount << " in the table, " << framesSent << " sent\n";
  std::cout << "groups: " << h.groupCount << " in the table, " << groupsSent << " sent\n";
  std::cout << "blocks: " << file.pieces().pieces.size() << ", " << model.rejections().size() << " left out; "
            << file.bytes().size() << " bytes\n";
  std::cout << "one pass: " << onePass(file, model) << "\n";
  if (!objects.empty()) {
    std::sort(objects.begin(), objects.end());
    std::cout << "objects per frame: min " << objects.front() << ", median " << objects[objects.size() / 2]
              << ", max " << objects.back() << "\n";
  }
  std::cout << "sounds: ";
  if (sounds.empty()) std::cout << "none";
  for (auto s = sounds.begin(); s != sounds.end(); ++s) std::cout << (s == sounds.begin() ? "" : ", ") << *s;
  std::cout << "\n";
  return 0;
}

}  // namespace vxa::tool
