#pragma once
// How the tools play a movie: as a browser plays a local file (the whole
// stream arrives at once and ends at once, so the timer starts at 0), with a
// stand-in for the viewer: a hold for a click ends `holdMs` after frame 6
// appeared, as if the viewer clicked then.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/timeline/timeline.h"

namespace vxa::tool {

constexpr uint32_t kDefaultHoldMs = 3000;
// Loop sections a looping movie's export shows after its first pass.
constexpr int kDefaultLoops = 3;

playback::Schedule localFileSchedule(size_t streamSize, uint32_t holdMs = kDefaultHoldMs);

// How long the frame showing last stays when no frame follows it: until the
// timer message that would have shown the next one.
uint32_t lastFrameHold(uint8_t frameRate);

// One pass of a movie played as a local file: from its first frame to the
// moment the pass is over (the first frame of the next pass, or the end of
// the last frame's time), a hold for a click left out (the click comes at
// once).
struct OnePass {
  bool plays = false;            // some frame is shown
  std::optional<uint32_t> ms;    // none: playback stalls before the last frame
  int16_t stalledAt = 0;         // where it stalls (frame showing)
  uint32_t stalledAfter = 0;     // ms after the first frame
};
OnePass playOnePass(const std::vector<uint8_t>& stream, int16_t frameCount, uint8_t frameRate);

}  // namespace vxa::tool
