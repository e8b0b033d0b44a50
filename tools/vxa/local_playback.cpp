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

OnePass playOnePass(const std::vector<uint8_t>& stream, int16_t frameCount, uint8_t frameRate) {
  std::optional<uint32_t> first, over;
  bool lastShown = false;
  const playback::TimelineEnd end = playback::runTimeline(
      stream, localFileSchedule(stream.size(), 0), nullptr,
      [&](const playback::TimerStep& step, const playback::MoviePlayer&) {
        if (!step.shown) return true;
        if (!first) first = step.at;
        if (lastShown) {
          over = step.at;
          return false;
        }
        lastShown = step.shown == frameCount;
        return true;
      });
  OnePass pass;
  if (!first) return pass;
  pass.plays = true;
  if (!over && end.reason == playback::TimelineEnd::Reason::Ended && lastShown) {
    over = end.at + lastFrameHold(frameRate);
  }
  if (over) {
    pass.ms = *over - *first;
  } else {
    pass.stalledAt = end.currentFrame;
    pass.stalledAfter = end.at - *first;
  }
  return pass;
}

}  // namespace vxa::tool
