// Cues playing a real WAV file through WINMM's waveaudio driver to the
// output. The first test must stay the first device of the process (mci0);
// capture_tone.sh runs it alone while it listens to the output.
#include <gtest/gtest.h>

#include <memory>

#include "message_box_watcher.h"
#include "sound/sound_cue.h"
#include "sound/sound_failure_notice.h"
#include "sound_test_support.h"
#include "tone_fixture.h"

namespace {

using Commands = std::vector<std::string>;
constexpr DWORD kPlayBoundMs = 15000;

struct SoundPlay : ToneFixture {
    bool playsToItsEnd(SoundCue& cue) {
        return pumpUntil([&] { return !cue.isPlaying(); }, kPlayBoundMs);
    }
};

TEST_F(SoundPlay, FirstCueOfTheProcessPlaysToItsEndAndClosesItself) {
    SoundCue cue(parent.handle(), tone.c_str(), &notice);
    cue.playNotify();
    EXPECT_EQ(cue.handle(), cue.notifyWindow());
    EXPECT_TRUE(cue.isPlaying());
    ASSERT_TRUE(playsToItsEnd(cue));
    EXPECT_EQ((Commands{"open " + tone + " type waveaudio alias mci0", "play mci0 notify", "stop mci0",
                        "close mci0"}),
              log.commands());
    EXPECT_TRUE(log.allSucceeded());
    EXPECT_FALSE(cue.isOpen());
    EXPECT_TRUE(watcher.boxes().empty());
    EXPECT_FALSE(notice.reported);
}

TEST_F(SoundPlay, CuePlayedAgainReopensUnderTheNextAlias) {
    SoundCue cue(parent.handle(), tone.c_str(), &notice);
    cue.playNotify();
    ASSERT_TRUE(playsToItsEnd(cue));
    const std::string first = cue.alias();
    const std::string second = "mci" + std::to_string(std::stoi(first.substr(3)) + 1);
    log.clear();
    cue.playNotify();
    ASSERT_TRUE(playsToItsEnd(cue));
    EXPECT_EQ((Commands{"open " + tone + " type waveaudio alias " + second, "play " + second + " notify",
                        "stop " + second, "close " + second}),
              log.commands());
    EXPECT_TRUE(log.allSucceeded());
    EXPECT_TRUE(watcher.boxes().empty());
}

TEST_F(SoundPlay, ReplacingAPlayingCueStopsTwiceAndClosesOnce) {
    writeToneWav(tone, 2.0);
    auto cue = std::make_unique<SoundCue>(parent.handle(), tone.c_str(), &notice);
    cue->playNotify();
    const std::string alias = cue->alias();
    log.clear();
    cue->stop();  // as the renderer does before it lets the cue go
    cue.reset();
    EXPECT_EQ((Commands{"stop " + alias, "stop " + alias, "close " + alias}), log.commands());
    // Whatever MCI posts about the cut play finds no window any more.
    pumpUntil([] { return false; }, 300);
    EXPECT_TRUE(watcher.boxes().empty());
}

TEST_F(SoundPlay, RewindWhilePlayingSeeksToTheStart) {
    writeToneWav(tone, 2.0);
    SoundCue cue(parent.handle(), tone.c_str(), &notice);
    cue.rewind();
    cue.playNotify();
    log.clear();
    cue.rewind();
    EXPECT_EQ((Commands{"seek " + cue.alias() + " to start"}), log.commands());
    EXPECT_TRUE(log.allSucceeded());
}

TEST_F(SoundPlay, PlayAndWaitReturnsClosedAtTheEnd) {
    SoundCue cue(parent.handle(), tone.c_str(), &notice);
    cue.playWait();
    const std::string alias = cue.alias();
    EXPECT_EQ((Commands{"open " + tone + " type waveaudio alias " + alias, "play " + alias + " wait",
                        "close " + alias}),
              log.commands());
    EXPECT_TRUE(log.allSucceeded());
    EXPECT_FALSE(cue.isPlaying());
    EXPECT_FALSE(cue.isOpen());
}

// The driver's play thread posts the end of a play and only then leaves the
// driver: a close answered at once must not unload the driver under it.
TEST_F(SoundPlay, ManyShortCuesEachClosingAtTheirEndKeepTheDriverLoaded) {
    writeToneWav(tone, 0.05);
    for (int i = 0; i < 20; ++i) {
        SoundCue cue(parent.handle(), tone.c_str(), &notice);
        cue.playNotify();
        ASSERT_TRUE(playsToItsEnd(cue));
        ASSERT_FALSE(cue.isOpen());
    }
    EXPECT_NE(nullptr, GetModuleHandleA("mciwave.dll"));
    EXPECT_TRUE(log.allSucceeded());
}

}  // namespace
