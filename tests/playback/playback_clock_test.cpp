// The playback clock driven by a clock the test sets: pacing, retries,
// freeing behind playback, loops, ends, the click hold and pausing.
#include <gtest/gtest.h>

#include "message_box_watcher.h"
#include "movie/object_group.h"
#include "movie_test_support.h"

using namespace movietest;

namespace {

// Group 1, and frames first..last each placing it.
std::vector<vxa::Block> framesPlacingGroup1(int first, int last) {
    std::vector<vxa::Block> blocks;
    if (first == 1) blocks.push_back(groupBlock({rectGroup(1, 8, 8, 35)}));
    for (int n = first; n <= last; ++n)
        blocks.push_back(frameBlock(static_cast<int16_t>(n), {place(1, static_cast<int16_t>(n), 2)}));
    return blocks;
}

class PlaybackClock : public ::testing::Test {
protected:
    PlaybackClock() : window_(64, 48, 200, 150) {}

    void load(const HeaderFields& fields, const std::vector<vxa::Block>& blocks) {
        movie_ = feed(streamBytes(wideHeader(fields), blocks), {}, window_.object(), clock_);
        movie_->resetPlayback();
    }
    void deliver(const std::vector<vxa::Block>& blocks) {
        std::vector<uint8_t> bytes;
        for (const vxa::Block& block : blocks) append(bytes, blockBytes(block));
        movie_->appendChunk(bytes.data(), static_cast<int32_t>(bytes.size()));
    }
    // One timer message, `ms` after the one before.
    int tick(uint32_t ms = 20) {
        clock_.advance(ms);
        return movie_->tick(movie_->getBounds());
    }
    // The frames shown by the next `ticks` timer messages, in order.
    std::vector<int> framesShown(int ticks, uint32_t ms = 20) {
        std::vector<int> shown;
        for (int i = 0; i < ticks; ++i) {
            const uint32_t before = movie_->lastFrameTick();
            tick(ms);
            if (movie_->lastFrameTick() == before) continue;
            // Frame n placed group 1 at x = n. (After the last frame of a
            // loop the counter already stands at 5.)
            shown.push_back(movie_->group(1)->placement().left);
        }
        return shown;
    }

    MessageBoxWatcher watcher_;
    TestWindow window_;
    ManualClock clock_;
    std::unique_ptr<Movie> movie_;
};

TEST_F(PlaybackClock, FirstFrameOnTheFirstTick) {
    load({64, 48, 1, 3, 10}, framesPlacingGroup1(1, 3));
    EXPECT_EQ(0, movie_->lastFrameTick());
    EXPECT_EQ(1, tick(0));
    EXPECT_EQ(1, movie_->currentFrame());
    EXPECT_EQ(clock_.now(), movie_->lastFrameTick());
}

TEST_F(PlaybackClock, FramesKeepTheirIntervalAndNoMoreThanOnePerTick) {
    load({64, 48, 1, 12, 10}, framesPlacingGroup1(1, 12));
    std::vector<uint32_t> times;
    for (int i = 0; i < 40; ++i) {
        const int16_t before = movie_->currentFrame();
        tick();
        if (movie_->currentFrame() != before) times.push_back(clock_.now());
    }
    ASSERT_GE(times.size(), 7u);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_EQ(100u, times[i] - times[i - 1]);

    // 200 frames a second asks for one every 5 ms: a 20-ms timer still
    // shows one frame per message.
    load({64, 48, 1, 12, 200}, framesPlacingGroup1(1, 12));
    for (int n = 1; n <= 11; ++n) {
        EXPECT_EQ(1, tick());
        EXPECT_EQ(n, movie_->currentFrame());
    }
}

TEST_F(PlaybackClock, FrameRateZeroShowsOneFrameASecond) {
    load({64, 48, 1, 4, 0}, framesPlacingGroup1(1, 4));
    tick();
    EXPECT_EQ(1, movie_->currentFrame());
    EXPECT_EQ(1, tick(999));
    EXPECT_EQ(1, movie_->currentFrame());
    tick(1);
    EXPECT_EQ(2, movie_->currentFrame());
}

TEST_F(PlaybackClock, PacingSurvivesTheTickCounterWrapping) {
    clock_.set(0xFFFFFFC0u);
    load({64, 48, 1, 4, 10}, framesPlacingGroup1(1, 4));
    tick();
    EXPECT_EQ(1, movie_->currentFrame());
    tick(60);  // the counter has wrapped: 60 ms since frame 1
    EXPECT_EQ(1, movie_->currentFrame());
    tick(40);
    EXPECT_EQ(2, movie_->currentFrame());
}

TEST_F(PlaybackClock, LateFrameIsRetriedThenShownAtOnce) {
    HeaderFields fields{64, 48, 2, 5, 10};
    load(fields, {groupBlock({rectGroup(1, 8, 8, 35)}), frameBlock(1, {place(1, 1, 0)}),
                  frameBlock(2, {place(1, 2, 0)}), frameBlock(4, {place(2, 0, 0)}), frameBlock(5, {})});
    EXPECT_EQ((std::vector<int>{1, 2}), framesShown(10, 20));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(1, tick());
        EXPECT_EQ(2, movie_->currentFrame());
    }
    const uint32_t frame2Shown = movie_->lastFrameTick();
    deliver({frameBlock(3, {place(1, 4, 4)})});
    tick();
    EXPECT_EQ(3, movie_->currentFrame());
    EXPECT_NE(frame2Shown, movie_->lastFrameTick());

    // Frame 4 waits for its group the same way.
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(1, tick());
        EXPECT_EQ(3, movie_->currentFrame());
    }
    deliver({groupBlock({rectGroup(2, 4, 4, 210)})});
    tick();
    EXPECT_EQ(4, movie_->currentFrame());
}

TEST_F(PlaybackClock, NonLoopingMovieFreesWhatItShowedAndEnds) {
    load({64, 48, 1, 10, 10}, framesPlacingGroup1(1, 10));
    int result = 1;
    for (int i = 0; i < 200 && result; ++i) {
        result = tick();
        const int current = movie_->currentFrame();
        // The frame showing stays for repaints; the one before it is gone.
        EXPECT_NE(nullptr, movie_->frame(current));
        if (current >= 2) {
            EXPECT_EQ(nullptr, movie_->frame(current - 1));
        }
    }
    EXPECT_EQ(0, result);
    EXPECT_EQ(10, movie_->currentFrame());
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(nullptr, movie_->frame(n)) << n;
    EXPECT_NE(nullptr, movie_->frame(10));
    EXPECT_EQ(0, tick(1000));
    EXPECT_EQ(10, movie_->currentFrame());
}

TEST_F(PlaybackClock, LoopingMovieReturnsToFrameSixAndKeepsEverything) {
    load({64, 48, 1, 10, 10, 1, 1}, framesPlacingGroup1(1, 10));
    const std::vector<int> shown = framesShown(20, 100);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 6, 7, 8, 9, 10, 6, 7, 8, 9, 10}), shown);
    for (int n = 1; n <= 10; ++n) EXPECT_NE(nullptr, movie_->frame(n)) << n;
    EXPECT_EQ(1, tick(100));
}

TEST_F(PlaybackClock, LoopingMovieOfFiveFramesOrFewerEndsOnFive) {
    for (int16_t frames : {int16_t{3}, int16_t{5}}) {
        load({64, 48, 1, frames, 10, 1, 1}, framesPlacingGroup1(1, frames));
        int result = 1;
        for (int i = 0; i < 20 && result; ++i) result = tick(100);
        EXPECT_EQ(0, result);
        EXPECT_EQ(5, movie_->currentFrame());
        EXPECT_EQ(0, tick(100));
        // A repaint draws frame 5 again (group 1 at x = 5), or nothing when
        // frame 5 lies past a table of 3.
        HDC dc = GetDC(window_.handle());
        const RECT all{0, 0, 64, 48};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(window_.handle(), dc);
        movie_->repaintCurrentFrame(movie_->getBounds());
        EXPECT_EQ(frames == 5 ? RGB(255, 0, 0) : RGB(0, 0, 0), window_.pixel(6, 3)) << frames << " frames";
    }
}

TEST_F(PlaybackClock, WaitForClickHoldsOnFrameSixWithTheCursorAnimation) {
    load({64, 48, 1, 20, 10, 1, 0, 1}, framesPlacingGroup1(1, 20));
    ASSERT_TRUE(SetCursorPos(220, 170));  // inside the window
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6}), framesShown(6, 100));
    EXPECT_EQ(Movie::kNoWaitCursor, movie_->cursorState());

    // Holding: no frame advances; the cursor alternates 110, 109, 110 ... once
    // more than 160 ms have passed since the last change.
    std::vector<int> states;
    std::vector<uint32_t> changes;
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(1, tick());
        EXPECT_EQ(6, movie_->currentFrame());
        if (changes.empty() || movie_->lastCursorTick() != changes.back()) {
            changes.push_back(movie_->lastCursorTick());
            states.push_back(movie_->cursorState());
        }
    }
    ASSERT_GE(states.size(), 5u);
    for (size_t i = 0; i < states.size(); ++i) EXPECT_EQ(i % 2 ? 109 : 110, states[i]) << i;
    for (size_t i = 1; i < changes.size(); ++i) EXPECT_EQ(180u, changes[i] - changes[i - 1]);
    EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(states.back())), GetCursor());

    // A pointer outside the window leaves the cursor alone; the phase clock runs on.
    ASSERT_TRUE(SetCursorPos(5, 5));
    const int16_t state = movie_->cursorState();
    const uint32_t last = movie_->lastCursorTick();
    for (int i = 0; i < 10; ++i) tick();
    EXPECT_EQ(state, movie_->cursorState());
    EXPECT_NE(last, movie_->lastCursorTick());

    movie_->releaseWait();
    EXPECT_EQ(1, tick());
    EXPECT_EQ(7, movie_->currentFrame());
}

TEST_F(PlaybackClock, WaitForClickWithSixFramesHoldsThenEnds) {
    load({64, 48, 1, 6, 10, 1, 0, 1}, framesPlacingGroup1(1, 6));
    for (int n = 1; n <= 6; ++n) tick(100);
    EXPECT_EQ(6, movie_->currentFrame());
    // The hold comes before the end.
    EXPECT_EQ(1, tick(100));
    EXPECT_EQ(1, tick(100));
    movie_->releaseWait();
    EXPECT_EQ(0, tick(100));
    EXPECT_EQ(6, movie_->currentFrame());

    // Looping with exactly six frames: the counter is back at 5 after frame
    // 6, so the hold never begins.
    load({64, 48, 1, 6, 10, 1, 1, 1}, framesPlacingGroup1(1, 6));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 6, 6}), framesShown(8, 100));
    EXPECT_EQ(1, movie_->isWaitingForClick());

    // Five frames never reach the hold.
    load({64, 48, 1, 5, 10, 1, 0, 1}, framesPlacingGroup1(1, 5));
    int result = 1;
    for (int i = 0; i < 10 && result; ++i) result = tick(100);
    EXPECT_EQ(0, result);
    EXPECT_EQ(5, movie_->currentFrame());
}

TEST_F(PlaybackClock, PauseStopsAndResumeGoesOn) {
    load({64, 48, 1, 8, 10}, framesPlacingGroup1(1, 8));
    tick(100);
    tick(100);
    EXPECT_EQ(2, movie_->currentFrame());
    movie_->pause();
    EXPECT_EQ(1, movie_->isPaused());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(0, tick(100));
    EXPECT_EQ(2, movie_->currentFrame());
    movie_->resume();
    EXPECT_EQ(0, movie_->isPaused());
    EXPECT_EQ(1, tick(20));
    EXPECT_EQ(3, movie_->currentFrame());
    EXPECT_EQ(1, tick(20));
    EXPECT_EQ(3, movie_->currentFrame());
}

TEST_F(PlaybackClock, ResetPlaybackStartsOver) {
    load({64, 48, 1, 8, 10, 1, 1}, framesPlacingGroup1(1, 8));
    tick(100);
    tick(100);
    movie_->pause();
    movie_->resetPlayback();
    EXPECT_EQ(0, movie_->currentFrame());
    EXPECT_EQ(0u, movie_->lastFrameTick());
    EXPECT_EQ(0u, movie_->lastCursorTick());
    EXPECT_EQ(0, movie_->soundNumber());
    EXPECT_EQ(0, movie_->isPaused());
    EXPECT_EQ(1, tick(0));
    EXPECT_EQ(1, movie_->currentFrame());
}

}  // namespace
