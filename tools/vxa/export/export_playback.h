#pragma once
// How an export plays a movie: as a browser plays a local file, with a hold
// for a click ending after a set time (local_playback.h), up to its end or
// where it stalls; a looping movie through its first pass and then its loop
// section a set number of times more. Both passes of an export (first the
// times, then the pictures) play through here, so they see the same run.
#include <cstdint>
#include <functional>
#include <vector>

#include "core/timeline/timeline.h"

namespace vxa::tool {

struct ExportSettings {
  uint32_t holdMs = 0;
  int loops = 0;  // loop sections after the first pass
  const playback::SoundLibrary* sounds = nullptr;
};

struct ExportRun {
  playback::TimelineEnd end;
  // The frames shown, by when.
  struct Shown {
    uint32_t at;
    int16_t frame;
  };
  std::vector<Shown> shown;
  // When the last frame's time is over: one frame interval after it, rounded
  // up to the timer message that would have shown a next one.
  uint32_t endMs = 0;
};

// Calls onStep for every timer message that shows a frame or changes the
// sound cue, in time order.
using ExportStepListener = std::function<void(const playback::TimerStep&, const playback::MoviePlayer&)>;

ExportRun playForExport(const std::vector<uint8_t>& stream, const ExportSettings& settings,
                        const ExportStepListener& onStep);

}  // namespace vxa::tool
