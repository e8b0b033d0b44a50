// The playback clock: one step per timer message, by the shared playback
// rules. What stays here is what only a window has: the step that must not
// run inside a frame being shown, the movie that may go away while its frame
// is shown, and the wait cursor over the window.
#include <windows.h>

#include "movie/movie.h"

int Movie::tick(RECT target) {
    if (retired_) return 0;
    const playback::TickStep step = playback::decideTick(play_, clock_.now());
    if (step == playback::TickStep::Paused) return 0;
    // A box inside the frame being shown lets this timer message in: that
    // step is still running and decides what comes next.
    if (rendering_) return 1;

    switch (step) {
        case playback::TickStep::Holding:
            animateWaitCursor();
            return 1;
        case playback::TickStep::Ended:
        case playback::TickStep::Paused:
            return 0;
        case playback::TickStep::NotDue:
            return 1;
        case playback::TickStep::Advance:
            break;
    }
    const int16_t n = playback::beginAdvance(play_);
    const std::shared_ptr<Presence> presence = presence_;
    const int shown = renderFrame(n, target);
    if (!presence->alive || retired_) return 0;
    const playback::AdvanceOutcome outcome = playback::finishAdvance(play_, shown != 0, clock_.now());
    if (outcome.release) frames_[outcome.release - 1].reset();
    return outcome.keepTimer;
}

void Movie::animateWaitCursor() {
    if (!playback::cursorPhaseDue(play_, clock_.now())) return;
    POINT pointer;
    RECT windowRect;
    if (!GetCursorPos(&pointer) || !GetWindowRect(window_.handle(), &windowRect)) return;
    if (!PtInRect(&windowRect, pointer)) return;
    const HCURSOR cursor = playback::nextCursorPhase(play_) == kWaitCursorA ? cursorA_ : cursorB_;
    if (cursor) SetCursor(cursor);
}
