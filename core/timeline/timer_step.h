#pragma once
// One timer message of a playing movie, the same step for every player: the
// plug-in's window and the portable player run it, each with its own stage
// (the clock, showing a frame, the wait cursor, letting a frame go).
#include <cstdint>

#include "core/timeline/playback_rules.h"

namespace playback {

// The player's side of a step.
class StepStage {
public:
    enum class Shown {
        Yes,     // the frame and every group it draws were there
        NotYet,  // the frame or a group is missing: the next message tries again
        Gone,    // the movie went away while its frame was shown: touch nothing
    };

    virtual ~StepStage() = default;
    // The tick count: read at the start of the step, when the wait cursor is
    // looked at, and after a frame was shown.
    virtual uint32_t now() = 0;
    // True while an earlier step is still showing its frame further up the
    // stack (a box inside it lets timer messages in): this one does nothing.
    virtual bool stepRunning() const { return false; }
    // Holding, and the wait cursor's next phase is due: the stage moves it on
    // (nextCursorPhase) if it can show it.
    virtual void waitCursorDue(PlaybackState& state) = 0;
    virtual Shown showFrame(int16_t n) = 0;
    // A frame a movie that does not loop will not show again.
    virtual void releaseFrame(int16_t n) = 0;
};

struct StepResult {
    TickStep decision = TickStep::NotDue;
    bool keepTimer = true;
};

// Runs the timer message: decides it, then holds, waits or shows the next
// frame through the stage.
StepResult runTimerStep(PlaybackState& state, StepStage& stage);

}  // namespace playback
