// The playback clock: one step per timer message. It paces frames at the
// movie's rate, retries frames whose data has not arrived, frees what a
// non-looping movie can no longer show, loops, ends, and holds on frame 6
// with an animated cursor until a click when the movie asks for one.
#include <windows.h>

#include "movie/movie.h"

namespace {

// The hold begins once this frame is passed, and a loop returns here, so
// that the frame after it is the first one shown again.
constexpr int16_t kHoldAfterFrame = 5;
constexpr uint32_t kCursorPeriod = 160;  // ms between two phases of the wait cursor
// A rate of 0 is not a valid header value. It is taken as the slowest valid
// rate: every frame is seen, and no frame comes faster than any valid movie
// could show it.
constexpr uint32_t kIntervalAtRateZero = 1000;

}  // namespace

uint32_t Movie::frameInterval() const {
    return frameRate_ ? 1000u / frameRate_ : kIntervalAtRateZero;
}

int Movie::tick(RECT target) {
    if (paused_) return 0;
    // A box inside the frame being shown lets this timer message in: that
    // step is still running and decides what comes next.
    if (rendering_) return 1;

    if (waitForClick_ && currentFrame_ > kHoldAfterFrame) {
        animateWaitCursor();
        return 1;
    }
    if (currentFrame_ >= frameCount()) return 0;
    if (lastFrameTick_ != 0 && clock_.now() - lastFrameTick_ < frameInterval()) return 1;

    ++currentFrame_;
    const std::shared_ptr<Presence> presence = presence_;
    const int shown = renderFrame(currentFrame_, target);
    if (!presence->alive) return 0;
    if (!shown) {
        // Not all there yet: the next timer message tries again at once.
        --currentFrame_;
    } else {
        lastFrameTick_ = clock_.now();
        // A movie that does not loop never shows a frame again, except the
        // one now showing (a repaint draws it).
        if (!loops_ && currentFrame_ >= 2) frames_[currentFrame_ - 2].reset();
    }
    if (currentFrame_ == frameCount() && loops_) currentFrame_ = kHoldAfterFrame;
    return currentFrame_ < frameCount() ? 1 : 0;
}

void Movie::animateWaitCursor() {
    const uint32_t now = clock_.now();
    if (now - lastCursorTick_ <= kCursorPeriod) return;
    // The phase advances whether or not the pointer is over the window.
    lastCursorTick_ = now;
    POINT pointer;
    RECT windowRect;
    if (!GetCursorPos(&pointer) || !GetWindowRect(window_.handle(), &windowRect)) return;
    if (!PtInRect(&windowRect, pointer)) return;
    HCURSOR cursor;
    if (cursorState_ == kWaitCursorB) {
        cursorState_ = kWaitCursorA;
        cursor = cursorA_;
    } else {
        cursorState_ = kWaitCursorB;
        cursor = cursorB_;
    }
    if (cursor) SetCursor(cursor);
}
