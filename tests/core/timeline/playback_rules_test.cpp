// The playback rules as tables of situations and what each one decides, and
// one run of timer messages through a whole movie.
#include <gtest/gtest.h>

#include <vector>

#include "core/timeline/playback_rules.h"
#include "core/timeline/sound_step.h"

namespace playback {
namespace {

PlaybackState movie(int16_t frames, uint8_t rate, int loops = 0, int wait = 0) {
    PlaybackState state;
    state.frameCount = frames;
    state.frameRate = rate;
    state.loops = loops;
    state.waitForClick = wait;
    return state;
}

TEST(PlaybackRules, FrameIntervalIsIntegerDivisionAndRateZeroIsOneSecond) {
    const std::pair<uint8_t, uint32_t> cases[] = {{1, 1000}, {10, 100}, {12, 83}, {24, 41},
                                                  {50, 20},  {200, 5},  {255, 3}, {0, 1000}};
    for (const auto& [rate, interval] : cases) EXPECT_EQ(frameInterval(rate), interval) << int(rate);
}

TEST(PlaybackRules, EachSituationDecidesItsStep) {
    struct Case {
        const char* what;
        PlaybackState state;
        uint32_t now;
        TickStep step;
    };
    auto at = [](PlaybackState s, int16_t current, uint32_t last) {
        s.currentFrame = current;
        s.lastFrameTick = last;
        return s;
    };
    auto paused = [](PlaybackState s) {
        s.paused = 1;
        return s;
    };
    const Case cases[] = {
        {"nothing shown yet: the first frame at once", movie(10, 10), 5, TickStep::Advance},
        {"paused before anything else", paused(movie(10, 10, 0, 1)), 5, TickStep::Paused},
        {"interval not over", at(movie(10, 10), 3, 1000), 1099, TickStep::NotDue},
        {"interval over", at(movie(10, 10), 3, 1000), 1100, TickStep::Advance},
        {"interval measured across the counter's wrap", at(movie(10, 10), 3, 0xFFFFFFC0u), 35, TickStep::NotDue},
        {"wrapped and due", at(movie(10, 10), 3, 0xFFFFFFC0u), 36, TickStep::Advance},
        {"rate 0: one second", at(movie(10, 0), 3, 1000), 1999, TickStep::NotDue},
        {"last frame showing", at(movie(10, 10), 10, 1000), 5000, TickStep::Ended},
        {"an empty movie has ended", movie(0, 10), 5, TickStep::Ended},
        {"holding on frame 6", at(movie(20, 10, 0, 1), 6, 1000), 5000, TickStep::Holding},
        {"no hold up to frame 5", at(movie(20, 10, 0, 1), 5, 1000), 5000, TickStep::Advance},
        {"the hold comes before the end", at(movie(6, 10, 0, 1), 6, 1000), 5000, TickStep::Holding},
        {"a paused hold is paused", paused(at(movie(20, 10, 0, 1), 6, 1000)), 5000, TickStep::Paused},
    };
    for (const Case& c : cases) EXPECT_EQ(decideTick(c.state, c.now), c.step) << c.what;
}

TEST(PlaybackRules, ShowingAFrameMovesOnFreesBehindLoopsOrRetries) {
    struct Case {
        const char* what;
        PlaybackState state;
        bool shown;
        int16_t current;  // afterwards
        uint32_t lastTick;
        int16_t release;
        int keepTimer;
    };
    auto at = [](PlaybackState s, int16_t current) {
        s.currentFrame = current;
        s.lastFrameTick = 500;
        return s;
    };
    const Case cases[] = {
        {"first frame: nothing to free", at(movie(10, 10), 0), true, 1, 900, 0, 1},
        {"the frame before is let go", at(movie(10, 10), 3), true, 4, 900, 3, 1},
        {"looping movies keep every frame", at(movie(10, 10, 1), 3), true, 4, 900, 0, 1},
        {"missing data: back one, tried again at once", at(movie(10, 10), 3), false, 3, 500, 0, 1},
        {"the last frame ends the movie", at(movie(10, 10), 9), true, 10, 900, 9, 0},
        {"the last frame of a loop returns to 5", at(movie(10, 10, 1), 9), true, 5, 900, 0, 1},
        {"a loop of five frames ends on 5", at(movie(5, 10, 1), 4), true, 5, 900, 0, 0},
        {"a loop of three frames ends on 5", at(movie(3, 10, 1), 2), true, 5, 900, 0, 0},
    };
    for (const Case& c : cases) {
        PlaybackState state = c.state;
        EXPECT_EQ(beginAdvance(state), c.state.currentFrame + 1) << c.what;
        const AdvanceOutcome outcome = finishAdvance(state, c.shown, 900);
        EXPECT_EQ(state.currentFrame, c.current) << c.what;
        EXPECT_EQ(state.lastFrameTick, c.lastTick) << c.what;
        EXPECT_EQ(outcome.release, c.release) << c.what;
        EXPECT_EQ(outcome.keepTimer, c.keepTimer) << c.what;
    }
}

// Timer messages every 20 ms through a movie, as the window's timer drives
// it: the frames shown, and when.
std::vector<std::pair<uint32_t, int>> play(PlaybackState state, uint32_t until, uint32_t clickAt = 0) {
    std::vector<std::pair<uint32_t, int>> shown;
    for (uint32_t now = 20; now <= until; now += kTimerPeriod) {
        if (clickAt && now >= clickAt) state.waitForClick = 0;
        const TickStep step = decideTick(state, now);
        if (step == TickStep::Paused || step == TickStep::Ended) break;
        if (step != TickStep::Advance) continue;
        const int16_t n = beginAdvance(state);
        shown.emplace_back(now, n);
        if (!finishAdvance(state, true, now).keepTimer) break;
    }
    return shown;
}

TEST(PlaybackRules, TimerMessagesPlayAMovie) {
    // 12 frames a second: 83 ms asked, so each frame waits for the fifth
    // timer message after it (100 ms).
    const auto rate12 = play(movie(4, 12), 2000);
    EXPECT_EQ(rate12, (std::vector<std::pair<uint32_t, int>>{{20, 1}, {120, 2}, {220, 3}, {320, 4}}));
    // 200 frames a second: one per timer message.
    const auto rate200 = play(movie(3, 200), 2000);
    EXPECT_EQ(rate200, (std::vector<std::pair<uint32_t, int>>{{20, 1}, {40, 2}, {60, 3}}));
    // A loop of 8 frames: 1..8, then 6, 7, 8 for ever.
    std::vector<int> order;
    for (const auto& [ms, n] : play(movie(8, 50, 1), 20 * 14)) order.push_back(n);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 6, 7, 8, 6, 7, 8}));
    // Waiting for a click at 1000 ms: frame 7 on the first message after it.
    const auto held = play(movie(8, 50, 0, 1), 2000, 1000);
    ASSERT_EQ(held.size(), 8u);
    EXPECT_EQ(held[5], (std::pair<uint32_t, int>{120, 6}));
    EXPECT_EQ(held[6], (std::pair<uint32_t, int>{1000, 7}));
}

TEST(PlaybackRules, WaitCursorChangesPhaseAfterMoreThan160Ms) {
    PlaybackState state = movie(20, 10, 0, 1);
    state.lastCursorTick = 1000;
    EXPECT_FALSE(cursorPhaseDue(state, 1160));
    EXPECT_TRUE(cursorPhaseDue(state, 1161));
    EXPECT_EQ(state.lastCursorTick, 1161u);
    EXPECT_FALSE(cursorPhaseDue(state, 1300));
    std::vector<int16_t> phases;
    for (int i = 0; i < 4; ++i) phases.push_back(nextCursorPhase(state));
    EXPECT_EQ(phases, (std::vector<int16_t>{kWaitCursorB, kWaitCursorA, kWaitCursorB, kWaitCursorA}));
}

TEST(PlaybackRules, AClickEndsTheHoldOrResumesOrPauses) {
    struct Case {
        const char* what;
        int wait, paused;
        int waitAfter, pausedAfter;
        bool startTimer;
    };
    const Case cases[] = {
        {"ends the hold only", 1, 0, 0, 0, false},
        {"a paused hold: the hold ends, the pause stays", 1, 1, 0, 1, false},
        {"resumes and starts the timer", 0, 1, 0, 0, true},
        {"pauses", 0, 0, 0, 1, false},
    };
    for (const Case& c : cases) {
        PlaybackState state = movie(20, 10, 0, c.wait);
        state.paused = c.paused;
        EXPECT_EQ(applyClick(state), c.startTimer) << c.what;
        EXPECT_EQ(state.waitForClick, c.waitAfter) << c.what;
        EXPECT_EQ(state.paused, c.pausedAfter) << c.what;
    }
}

TEST(SoundStep, EachSituationDecidesItsStep) {
    struct Case {
        const char* what;
        int16_t frameSound;
        SoundState state;
        bool cueExists, cuePlaying;
        int16_t current;
        SoundStep step;
    };
    const Case cases[] = {
        {"a new number starts", 7, {0, 0}, false, false, 1, SoundStep::Start},
        {"another number replaces the sound", 9, {7, 1}, true, true, 2, SoundStep::Start},
        {"the same number while playing", 7, {7, 1}, true, true, 2, SoundStep::Nothing},
        {"the same number after it ended", 7, {7, 1}, true, false, 2, SoundStep::PlayAgain},
        {"the same number without a cue stays silent", 7, {7, 0}, false, false, 2, SoundStep::Nothing},
        {"no sound, no cue", 0, {0, 0}, false, false, 2, SoundStep::Nothing},
        {"no sound right after its start carries on", 0, {7, 1}, true, true, 2, SoundStep::CarryOn},
        {"carried on even when it has ended", 0, {7, 1}, true, false, 2, SoundStep::CarryOn},
        {"no sound later stops it", 0, {7, 1}, true, true, 3, SoundStep::Stop},
        {"a repaint of the frame that carried it on stops it", 0, {7, 2}, true, true, 2, SoundStep::Stop},
        {"a negative number is a sound", -3, {0, 0}, false, false, 1, SoundStep::Start},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decideSoundStep(c.frameSound, c.state, c.cueExists, c.cuePlaying, c.current), c.step) << c.what;
    }
}

// Frames shown one after the other with the given sound numbers, with a cue
// that plays for `length` frames: what the cue does on each frame.
std::vector<SoundStep> soundRun(const std::vector<int16_t>& sounds, int length, bool cuesMade = true) {
    SoundState state;
    bool cue = false;
    int playedUntil = 0;
    std::vector<SoundStep> steps;
    for (int16_t frame = 1; frame <= static_cast<int16_t>(sounds.size()); ++frame) {
        const int16_t s = sounds[frame - 1];
        const SoundStep step = decideSoundStep(s, state, cue, frame < playedUntil, frame);
        if (step == SoundStep::Start || step == SoundStep::PlayAgain) {
            cue = cuesMade;
            playedUntil = frame + length;
        }
        if (step == SoundStep::Stop) cue = false;
        recordSoundStep(state, step, s, frame, cue);
        steps.push_back(step);
    }
    return steps;
}

TEST(SoundStep, RunsOfFrames) {
    using S = SoundStep;
    EXPECT_EQ(soundRun({7, 0, 0, 0}, 10), (std::vector<S>{S::Start, S::CarryOn, S::CarryOn, S::CarryOn}));
    EXPECT_EQ(soundRun({7, 7, 0}, 10), (std::vector<S>{S::Start, S::Nothing, S::Stop}));
    EXPECT_EQ(soundRun({7, 9, 0, 0}, 10), (std::vector<S>{S::Start, S::Start, S::CarryOn, S::CarryOn}));
    // A sound of two frames named on every frame starts again each time it ended.
    EXPECT_EQ(soundRun({7, 7, 7, 7, 7}, 2),
              (std::vector<S>{S::Start, S::Nothing, S::PlayAgain, S::Nothing, S::PlayAgain}));
    // A cue that could not be made: the number is taken, later frames naming it stay silent.
    EXPECT_EQ(soundRun({7, 7, 0}, 2, false), (std::vector<S>{S::Start, S::Nothing, S::Nothing}));
}

}  // namespace
}  // namespace playback
