// How a device answers MCI's end-of-play notifications: a play that did not
// end normally leaves the host running, silently or with one box per movie.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "message_box_watcher.h"
#include "sound/sound_cue.h"
#include "sound/sound_failure_notice.h"
#include "sound/wave_audio_device.h"
#include "sound_test_support.h"

namespace {

using Commands = std::vector<std::string>;

struct MciNotify : testing::Test {
    MessageBoxWatcher watcher;
    ParentWindow parent;
    TempFolder folder;
    std::string tone = folder.file("tone.wav");
    CommandLog log;
    MciNotify() { writeToneWav(tone, 2.0); }

    // A device opened on the tone, as the notification would find it.
    void openAndNotify(WaveAudioDevice& device, WPARAM code) {
        device.open(tone);
        log.clear();
        SendMessageA(device.handle(), MM_MCINOTIFY, code, 0);
    }
};

TEST_F(MciNotify, FailureClosesTheDeviceAndIsToldOncePerNotice) {
    SoundFailureNotice movieA, movieB;
    WaveAudioDevice first(parent.handle(), &movieA), second(parent.handle(), &movieA),
        other(parent.handle(), &movieB);
    openAndNotify(first, MCI_NOTIFY_FAILURE);
    EXPECT_EQ((Commands{"close " + first.alias()}), log.commands());
    EXPECT_FALSE(first.isOpen());
    openAndNotify(second, MCI_NOTIFY_FAILURE);
    EXPECT_EQ((Commands{"close " + second.alias()}), log.commands());
    EXPECT_FALSE(second.isOpen());
    openAndNotify(other, MCI_NOTIFY_FAILURE);
    EXPECT_FALSE(other.isOpen());
    ASSERT_EQ(2u, watcher.boxes().size());
    for (const SeenBox& box : watcher.boxes()) {
        EXPECT_EQ("Error", box.caption);
        EXPECT_EQ("MCI ERROR. 8.", box.text);
    }
    EXPECT_TRUE(movieA.reported && movieB.reported);
}

// A sound that played to its end is stopped and closed, so that the next
// play of its number opens the file again from its start; one cut short is
// closed.
TEST_F(MciNotify, TheEndOfPlayAndACutCloseWithoutABox) {
    SoundFailureNotice notice;
    for (WPARAM code : {MCI_NOTIFY_SUCCESSFUL, MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED}) {
        WaveAudioDevice device(parent.handle(), &notice);
        openAndNotify(device, code);
        const Commands closed{"close " + device.alias()};
        const Commands stoppedAndClosed{"stop " + device.alias(), "close " + device.alias()};
        EXPECT_EQ(code == MCI_NOTIFY_SUCCESSFUL ? stoppedAndClosed : closed, log.commands()) << "code " << code;
        EXPECT_FALSE(device.isOpen());
    }
    EXPECT_TRUE(watcher.boxes().empty());
    EXPECT_FALSE(notice.reported);
}

// MCI's own answer to a stop while the device and its window live on.
TEST_F(MciNotify, PlayCutShortByOurStopClosesWithoutABox) {
    SoundFailureNotice notice;
    SoundCue cue(parent.handle(), tone.c_str(), &notice);
    cue.playNotify();
    cue.stop();
    ASSERT_TRUE(pumpUntil([&] { return !cue.isOpen(); }, 5000));
    EXPECT_EQ("close " + cue.alias(), log.commands().back());
    EXPECT_TRUE(watcher.boxes().empty());
}

// The only test here that uses the process's own notice.
TEST_F(MciNotify, DevicesWithoutANoticeTellOncePerProcess) {
    WaveAudioDevice first(parent.handle()), second(parent.handle());
    openAndNotify(first, MCI_NOTIFY_FAILURE);
    openAndNotify(second, MCI_NOTIFY_FAILURE);
    EXPECT_FALSE(first.isOpen() || second.isOpen());
    ASSERT_EQ(1u, watcher.boxes().size());
    EXPECT_EQ("MCI ERROR. 8.", watcher.boxes()[0].text);
}

TEST_F(MciNotify, DeviceWithoutItsMediaWindowIsToldOnceAndStaysSilent) {
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    SoundFailureNotice notice;
    {
        SoundCue cue(gone, tone.c_str(), &notice);
        SoundCue again(gone, tone.c_str(), &notice);
        EXPECT_EQ(nullptr, cue.handle());
        cue.playNotify();
        EXPECT_TRUE(cue.isOpen() && cue.isPlaying());  // so the renderer does not retry on every frame
        cue.playWait();
    }
    EXPECT_TRUE(log.commands().empty());
    ASSERT_EQ(1u, watcher.boxes().size());
    EXPECT_EQ("Error", watcher.boxes()[0].caption);
    EXPECT_EQ("Can't create a media window.", watcher.boxes()[0].text);
}

}  // namespace
