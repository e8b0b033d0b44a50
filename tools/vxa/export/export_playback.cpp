#include "export_playback.h"

#include "local_playback.h"

namespace vxa::tool {

ExportRun playForExport(const std::vector<uint8_t>& stream, const ExportSettings& settings,
                        const ExportStepListener& onStep) {
  ExportRun run;
  int lastFrameShown = 0;
  uint8_t rate = 0;
  run.end = playback::runTimeline(
      stream, localFileSchedule(stream.size(), settings.holdMs), settings.sounds,
      [&](const playback::TimerStep& step, const playback::MoviePlayer& player) {
        rate = player.state().frameRate;
        if (step.shown || !step.cues.empty()) onStep(step, player);
        if (!step.shown) return true;
        run.shown.push_back({step.at, step.shown});
        // The loop goes back to frame 6 only in a movie longer than that.
        const int16_t frameCount = player.state().frameCount;
        const bool loops = player.state().loops && frameCount > playback::kHoldAfterFrame;
        if (step.shown == frameCount) ++lastFrameShown;
        return !(loops && lastFrameShown > settings.loops);
      });
  if (!run.shown.empty()) run.endMs = run.shown.back().at + lastFrameHold(rate);
  return run;
}

}  // namespace vxa::tool
