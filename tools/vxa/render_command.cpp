// vxa render MOVIE.vxa (--frame N -o FRAME.png | --frames DIR)
// The picture the plug-in's window shows once playback has reached a frame:
// the movie is played as a local file by the plug-in's rules, and each frame
// is drawn at the moment it is first shown, so repeated items, groups that
// arrived again and the drawing budget all count as they do on screen.
#include <cstdio>
#include <memory>
#include <set>

#include "arguments.h"
#include "commands.h"
#include "files.h"
#include "frame_painter.h"
#include "local_playback.h"
#include "movie_file.h"
#include "core/timeline/timeline.h"
#include "png_picture.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

std::string frameFile(const std::string& folder, int16_t n) {
  char name[16];
  std::snprintf(name, sizeof name, "%05d.png", n);
  return folder + "/" + name;
}

// Why playback never got to show `n`.
std::string neverShown(int16_t n, const playback::TimelineEnd& end) {
  const std::string frame = "frame " + std::to_string(n) + " never shows: ";
  const std::string at = end.currentFrame == 0 ? std::string("before frame 1")
                                               : "at frame " + std::to_string(end.currentFrame);
  switch (end.reason) {
    case playback::TimelineEnd::Reason::Stalled:
      return frame + "playback stalls " + at + ", as frame " + std::to_string(end.currentFrame + 1) +
             " or a group it places never arrives (vxa check tells more)";
    case playback::TimelineEnd::Reason::Held:
      return frame + "playback holds " + at + " for a click";
    default:
      return frame + "playback stops " + at;
  }
}

}  // namespace

int renderCommand(const Args& args) {
  const Arguments arguments("render", args, {{"--frame", "-o", "--frames"}, {}, {}});
  const MovieFile movie(arguments.input());
  const int16_t count = movie.header().frameCount;
  const std::optional<std::string> folder = arguments.value("--frames");
  const std::optional<long> one = arguments.number("--frame", 1, 0x7FFF);
  const std::optional<std::string> output = arguments.value("-o");
  if (folder.has_value() == one.has_value()) usageError("render needs either --frame N with -o, or --frames DIR");
  if (one && !output) usageError("--frame needs -o FRAME.png");
  if (folder && output) usageError("--frames writes into its folder: -o has no place there");
  if (one && *one > count) {
    fail("frame " + std::to_string(*one) + " is outside the movie's frame table 1.." + std::to_string(count));
  }
  if (count <= 0) fail("the movie's frame table is empty: it has no frame to render");
  if (folder) makeFolder(*folder);

  std::set<int16_t> wanted;
  for (int16_t n = 1; n <= count; ++n) {
    if (!one || n == *one) wanted.insert(n);
  }
  std::unique_ptr<FramePainter> painter;
  const playback::TimelineEnd end = playback::runTimeline(
      movie.bytes(), localFileSchedule(movie.bytes().size()), nullptr,
      [&](const playback::TimerStep& step, const playback::MoviePlayer& player) {
        if (step.shown == 0 || wanted.erase(step.shown) == 0) return !wanted.empty();
        if (!painter) painter = std::make_unique<FramePainter>(player.movie());
        writePngPicture(folder ? frameFile(*folder, step.shown) : *output, painter->paint(step.shown));
        return !wanted.empty();
      });
  if (!wanted.empty()) {
    std::string message = neverShown(*wanted.begin(), end);
    if (wanted.size() > 1) message += "; " + std::to_string(wanted.size()) + " frames in all never show";
    fail(message);
  }
  return 0;
}

}  // namespace vxa::tool
