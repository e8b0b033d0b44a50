#include "core/timeline/playback_rules.h"

namespace playback {

uint32_t frameInterval(uint8_t frameRate) { return frameRate ? 1000u / frameRate : kIntervalAtRateZero; }

TickStep decideTick(const PlaybackState& state, uint32_t now) {
    if (state.paused) return TickStep::Paused;
    // The hold comes before the end: a movie of exactly six frames holds on
    // its last frame, then ends after the click.
    if (state.waitForClick && state.currentFrame > kHoldAfterFrame) return TickStep::Holding;
    if (state.currentFrame >= state.frameCount) return TickStep::Ended;
    if (state.lastFrameTick != 0 && now - state.lastFrameTick < frameInterval(state.frameRate)) {
        return TickStep::NotDue;
    }
    return TickStep::Advance;
}

bool cursorPhaseDue(PlaybackState& state, uint32_t now) {
    if (now - state.lastCursorTick <= kCursorPeriod) return false;
    state.lastCursorTick = now;
    return true;
}

int16_t nextCursorPhase(PlaybackState& state) {
    state.cursorState = state.cursorState == kWaitCursorB ? kWaitCursorA : kWaitCursorB;
    return state.cursorState;
}

int16_t beginAdvance(PlaybackState& state) { return ++state.currentFrame; }

AdvanceOutcome finishAdvance(PlaybackState& state, bool shown, uint32_t now) {
    AdvanceOutcome outcome;
    if (!shown) {
        --state.currentFrame;
    } else {
        state.lastFrameTick = now;
        // A movie that does not loop never shows a frame again, except the one
        // now showing (a repaint draws it).
        if (!state.loops && state.currentFrame >= 2) outcome.release = state.currentFrame - 1;
    }
    if (state.currentFrame == state.frameCount && state.loops) state.currentFrame = kHoldAfterFrame;
    outcome.keepTimer = state.currentFrame < state.frameCount ? 1 : 0;
    return outcome;
}

bool applyClick(PlaybackState& state) {
    if (state.waitForClick) {
        // The timer still runs: the next timer message goes on with frame 7.
        state.waitForClick = 0;
        return false;
    }
    if (state.paused) {
        state.paused = 0;
        return true;
    }
    state.paused = 1;
    return false;
}

}  // namespace playback
