#pragma once
// How the tools play a movie: as a browser plays a local file (the whole
// stream arrives at once and ends at once, so the timer starts at 0), with a
// stand-in for the viewer: a hold for a click ends `holdMs` after frame 6
// appeared, as if the viewer clicked then.
#include <cstddef>
#include <cstdint>

#include "core/timeline/timeline.h"

namespace vxa::tool {

constexpr uint32_t kDefaultHoldMs = 3000;
// Loop sections a looping movie's export shows after its first pass.
constexpr int kDefaultLoops = 3;

playback::Schedule localFileSchedule(size_t streamSize, uint32_t holdMs = kDefaultHoldMs);

// How long the frame showing last stays when no frame follows it: until the
// timer message that would have shown the next one.
uint32_t lastFrameHold(uint8_t frameRate);

}  // namespace vxa::tool
