#include "core/timeline/timer_step.h"

namespace playback {

StepResult runTimerStep(PlaybackState& state, StepStage& stage) {
    StepResult result;
    result.decision = decideTick(state, stage.now());
    if (result.decision == TickStep::Paused) {
        result.keepTimer = false;
        return result;
    }
    // Before the rest of the decision: the step still running may be showing
    // the last frame of a movie that loops back, and decides for itself.
    if (stage.stepRunning()) return result;
    switch (result.decision) {
        case TickStep::Holding:
            if (cursorPhaseDue(state, stage.now())) stage.waitCursorDue(state);
            return result;
        case TickStep::Paused:
        case TickStep::Ended: result.keepTimer = false; return result;
        case TickStep::NotDue: return result;
        case TickStep::Advance: break;
    }

    const int16_t n = beginAdvance(state);
    const StepStage::Shown shown = stage.showFrame(n);
    if (shown == StepStage::Shown::Gone) {
        result.keepTimer = false;
        return result;
    }
    const AdvanceOutcome outcome = finishAdvance(state, shown == StepStage::Shown::Yes, stage.now());
    if (outcome.release) stage.releaseFrame(outcome.release);
    result.keepTimer = outcome.keepTimer != 0;
    return result;
}

}  // namespace playback
