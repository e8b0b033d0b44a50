#include "local_playback.h"

#include "core/timeline/playback_rules.h"

namespace vxa::tool {

playback::Schedule localFileSchedule(size_t streamSize, uint32_t holdMs) {
  playback::Schedule schedule = playback::Schedule::wholeStream(streamSize);
  schedule.clickAfterHold = holdMs;
  return schedule;
}

uint32_t lastFrameHold(uint8_t frameRate) {
  const uint32_t interval = playback::frameInterval(frameRate);
  const uint32_t periods = (interval + playback::kTimerPeriod - 1) / playback::kTimerPeriod;
  return (periods ? periods : 1) * playback::kTimerPeriod;
}

}  // namespace vxa::tool
