// The playback clock: one step per timer message, the step every player
// runs. What stays here is what only a window has: the step that must not
// run inside a frame being shown, the movie that may go away while its frame
// is shown, and the wait cursor over the window.
#include <windows.h>

#include "core/timeline/timer_step.h"
#include "movie/movie.h"

class Movie::TimerStage final : public playback::StepStage {
public:
    TimerStage(Movie& movie, RECT target) : movie_(movie), target_(target) {}

    uint32_t now() override { return movie_.clock_.now(); }
    // A box inside the frame being shown lets this timer message in: that
    // step is still running and decides what comes next.
    bool stepRunning() const override { return movie_.rendering_; }
    void waitCursorDue(playback::PlaybackState& state) override { movie_.showWaitCursor(state); }
    Shown showFrame(int16_t n) override {
        const std::shared_ptr<Presence> presence = movie_.presence_;
        const int shown = movie_.renderFrame(n, target_);
        if (!presence->alive || movie_.retired_) return Shown::Gone;
        return shown ? Shown::Yes : Shown::NotYet;
    }
    void releaseFrame(int16_t n) override { movie_.frames_[n - 1].reset(); }

private:
    Movie& movie_;
    const RECT target_;
};

int Movie::tick(RECT target) {
    if (retired_) return 0;
    TimerStage stage(*this, target);
    return playback::runTimerStep(play_, stage).keepTimer ? 1 : 0;
}

// The next phase shows only while the pointer is over the window.
void Movie::showWaitCursor(playback::PlaybackState& state) {
    POINT pointer;
    RECT windowRect;
    if (!GetCursorPos(&pointer) || !GetWindowRect(window_.handle(), &windowRect)) return;
    if (!PtInRect(&windowRect, pointer)) return;
    const HCURSOR cursor = playback::nextCursorPhase(state) == kWaitCursorA ? cursorA_ : cursorB_;
    if (cursor) SetCursor(cursor);
}
