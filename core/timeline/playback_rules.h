#pragma once
// The rules a movie plays by, one timer message at a time: whether playback
// is paused, holds for a click, has ended, waits for the next frame to be
// due, or shows the next frame; what follows from showing it (the frame
// before can be let go, the loop back to frame 6); and the phases of the
// wait cursor. The plug-in, the exporters and the web player all step
// through a movie with these, so they cannot drift apart.
//
// Nothing here reads a clock or draws: times are millisecond tick counts
// passed in by the caller, and showing a frame is the caller's business.
// Elapsed time is always the unsigned 32-bit difference of two tick counts,
// so the counter's wrap after 49.7 days does not stop a movie.
#include <cstdint>

namespace playback {

// The window timer's period: a movie advances at most one frame per timer
// message, whatever its rate.
constexpr uint32_t kTimerPeriod = 20;
// A movie that waits for a click holds once this frame is passed, and a
// looping movie comes back to it, so that the frame after it shows next.
constexpr int16_t kHoldAfterFrame = 5;
// The wait cursor changes phase once more than this many ms have passed.
constexpr uint32_t kCursorPeriod = 160;
// A rate of 0 is not a valid header value. It is taken as the slowest valid
// rate: every frame is seen, and none comes faster than any valid movie
// could show it.
constexpr uint32_t kIntervalAtRateZero = 1000;

// The phases of the wait cursor, named by the plug-in's cursor resources.
constexpr int16_t kNoWaitCursor = 104;  // before the first phase
constexpr int16_t kWaitCursorA = 109;
constexpr int16_t kWaitCursorB = 110;

// Milliseconds from one frame to the next: 1000 / rate, in integer division.
uint32_t frameInterval(uint8_t frameRate);

// What playback knows of a movie and where it stands.
struct PlaybackState {
    // From the stream header.
    int16_t frameCount = 0;
    uint8_t frameRate = 0;
    int loops = 0;
    int waitForClick = 0;  // cleared by the click that ends the hold
    int paused = 0;
    int16_t currentFrame = 0;     // the frame shown last; 0 before the first
    uint32_t lastFrameTick = 0;   // when it was shown; 0: no frame yet
    uint32_t lastCursorTick = 0;  // the wait cursor's last change of phase
    int16_t cursorState = kNoWaitCursor;
};

enum class TickStep {
    Paused,   // the timer is to stop
    Holding,  // frame 6 stays until a click; the wait cursor may change phase
    Ended,    // the last frame is showing: the timer is to stop
    NotDue,   // the frame showing has not had its time yet
    Advance,  // frame currentFrame + 1 is to be shown now
};

// Decides a timer message at `now`. Changes nothing.
TickStep decideTick(const PlaybackState& state, uint32_t now);

// While holding: true when the wait cursor's next phase is due at `now`. The
// phase clock then starts again, whether or not the cursor can be shown.
bool cursorPhaseDue(PlaybackState& state, uint32_t now);
// Moves the wait cursor to its other phase (B first) and returns it.
int16_t nextCursorPhase(PlaybackState& state);

// Advance: counts the frame about to be shown (the sound step reads it as
// the current frame) and returns its number.
int16_t beginAdvance(PlaybackState& state);

struct AdvanceOutcome {
    // A frame record that a movie which does not loop will never show again
    // (the one before the frame now showing); 0 for none.
    int16_t release = 0;
    // Nonzero while the timer is to go on.
    int keepTimer = 1;
};

// After the attempt begun by beginAdvance: `shown` false when the frame or
// one of its groups has not arrived, and the next timer message tries again
// at once; `now` is the tick count read after showing. Applies the loop.
AdvanceOutcome finishAdvance(PlaybackState& state, bool shown, uint32_t now);

// A left click into the movie: it ends a hold for a click, or else resumes a
// paused movie, or else pauses it (the next timer message then stops the
// timer). True when the timer is to be started: after a resume.
bool applyClick(PlaybackState& state);

// Whether an item's group id names a slot of a group table of groupCount
// slots. Only a repeat with nothing to copy names no group (id 0): such an
// item stands for nothing and is drawn as nothing, like an id past the table.
inline bool namesGroup(int16_t groupId, int16_t groupCount) { return groupId >= 1 && groupId <= groupCount; }

}  // namespace playback
