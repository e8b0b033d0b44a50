// vxa timeline MOVIE.vxa [--chunk MS:BYTES]... [--end MS] [--click MS]...
//                        [--hold MS] [--sounds DIR] [--for MS]
// Which frame the plug-in shows at which millisecond, and what its sound cue
// does, when the stream arrives and the viewer clicks as the options say.
#include <algorithm>
#include <iostream>
#include <memory>

#include "arguments.h"
#include "commands.h"
#include "movie_file.h"
#include "core/timeline/timeline.h"
#include "sound_folder.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

constexpr long kMaxMs = 0x7FFFFFFF;
constexpr long kDefaultForMs = 60000;

const char* endName(playback::TimelineEnd::Reason reason) {
  switch (reason) {
    case playback::TimelineEnd::Reason::Ended: return "ended";
    case playback::TimelineEnd::Reason::Stalled: return "stalled";
    case playback::TimelineEnd::Reason::Held: return "held";
    case playback::TimelineEnd::Reason::Stopped: return "stopped";
    case playback::TimelineEnd::Reason::Cut: return "cut";
  }
  return "";
}

const char* cueName(playback::CueEvent::Kind kind) {
  switch (kind) {
    case playback::CueEvent::Kind::Start: return "start";
    case playback::CueEvent::Kind::PlayAgain: return "again";
    case playback::CueEvent::Kind::Stop: return "stop";
  }
  return "";
}

playback::Schedule scheduleFrom(const Arguments& arguments, size_t streamSize) {
  playback::Schedule schedule;
  const std::vector<std::string>& chunks = arguments.values("--chunk");
  if (chunks.empty()) {
    schedule = playback::Schedule::wholeStream(streamSize);
  }
  for (const std::string& chunk : chunks) {
    const size_t colon = chunk.find(':');
    if (colon == std::string::npos) usageError("--chunk needs MS:BYTES, not \"" + chunk + "\"");
    const auto at = static_cast<uint32_t>(parseNumber(chunk.substr(0, colon), 0, kMaxMs, "--chunk"));
    const auto bytes = static_cast<size_t>(parseNumber(chunk.substr(colon + 1), 0, kMaxMs, "--chunk"));
    if (!schedule.chunks.empty() && at < schedule.chunks.back().at) usageError("--chunk times must not go back");
    schedule.chunks.push_back({at, bytes});
  }
  if (const std::optional<long> end = arguments.number("--end", 0, kMaxMs)) schedule.streamEnd = *end;
  for (const std::string& click : arguments.values("--click")) {
    schedule.clicks.push_back(static_cast<uint32_t>(parseNumber(click, 0, kMaxMs, "--click")));
  }
  std::sort(schedule.clicks.begin(), schedule.clicks.end());
  if (const std::optional<long> hold = arguments.number("--hold", 0, kMaxMs)) schedule.clickAfterHold = *hold;
  return schedule;
}

}  // namespace

int timelineCommand(const Args& args) {
  const Arguments arguments("timeline", args,
                            {{"--end", "--hold", "--sounds", "--for"}, {"--chunk", "--click"}, {}});
  const MovieFile movie(arguments.input());
  const playback::Schedule schedule = scheduleFrom(arguments, movie.bytes().size());
  std::unique_ptr<SoundFolder> sounds;
  if (const std::optional<std::string> folder = arguments.value("--sounds")) {
    sounds = std::make_unique<SoundFolder>(*folder);
  }
  const auto until = static_cast<uint32_t>(arguments.number("--for", 0, kMaxMs).value_or(kDefaultForMs));

  const playback::TimelineEnd end = playback::runTimeline(
      movie.bytes(), schedule, sounds.get(), [until](const playback::TimerStep& step, const playback::MoviePlayer&) {
        for (const playback::CueEvent& cue : step.cues) {
          const bool silent = cue.kind != playback::CueEvent::Kind::Stop && !cue.audible;
          std::cout << "cue " << step.at << " " << cueName(cue.kind) << " " << cue.number
                    << (silent ? " silent" : "") << "\n";
        }
        if (step.shown) std::cout << "frame " << step.at << " " << step.shown << "\n";
        return step.at < until;
      });
  std::cout << "end " << end.at << " " << endName(end.reason) << " at frame " << end.currentFrame << "\n";
  return 0;
}

}  // namespace vxa::tool
