// The command strings that devices send, observed as MCI answers them, and
// the boxes of failed commands.
#include <gtest/gtest.h>

#include "framework/application.h"
#include "message_box_watcher.h"
#include "sound/file_device.h"
#include "sound/sound_cue.h"
#include "sound/sound_failure_notice.h"
#include "sound/wave_audio_device.h"
#include "sound_test_support.h"
#include "tone_fixture.h"

namespace {

using Commands = std::vector<std::string>;

std::string nextAlias(const std::string& alias) { return "mci" + std::to_string(std::stoi(alias.substr(3)) + 1); }

using MciDeviceCommands = ToneFixture;

// Nothing but the notification is the device's own: every other message is
// the button's, and the button is never seen.
TEST_F(MciDeviceCommands, MediaWindowIsAnOrdinaryHiddenChildButton) {
    WaveAudioDevice device(parent.handle());
    char className[16] = {};
    GetClassNameA(device.handle(), className, sizeof className);
    EXPECT_STRCASEEQ("Button", className);
    EXPECT_EQ(parent.handle(), GetParent(device.handle()));
    EXPECT_EQ(0, GetDlgCtrlID(device.handle()));
    EXPECT_FALSE(IsWindowVisible(device.handle()));
    RECT rect;
    GetClientRect(device.handle(), &rect);
    EXPECT_EQ(10, rect.right);
    SendMessageA(device.handle(), BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(SendMessageA(device.handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);
}

TEST_F(MciDeviceCommands, EveryOpenTakesTheNextAliasAndOpenWhileOpenIsIgnored) {
    WaveAudioDevice device(parent.handle()), other(parent.handle());
    device.open(tone);
    const std::string first = device.alias();
    device.open(folder.file("another.wav"));
    EXPECT_EQ(tone, device.fileName());
    device.close();
    device.open(tone);
    other.open(tone);
    EXPECT_EQ(nextAlias(first), device.alias());
    EXPECT_EQ(nextAlias(nextAlias(first)), other.alias());
    EXPECT_EQ((Commands{"open " + tone + " type waveaudio alias " + first, "close " + first,
                        "open " + tone + " type waveaudio alias " + device.alias(),
                        "open " + tone + " type waveaudio alias " + other.alias()}),
              log.commands());
    EXPECT_TRUE(log.allSucceeded());
    device.close();
    other.close();
}

TEST_F(MciDeviceCommands, StopCloseAndRewindSendNothingWhenThereIsNothingToDo) {
    WaveAudioDevice device(parent.handle());
    device.stop();
    device.close();
    device.rewind();
    device.open(tone);
    device.rewind();  // open but not playing
    device.close();
    EXPECT_EQ(2u, log.commands().size());
    EXPECT_TRUE(watcher.boxes().empty());
}

TEST_F(MciDeviceCommands, FileDeviceLetsMciChooseTheDriver) {
    FileDevice device(parent.handle());
    device.open(tone);
    device.close();
    EXPECT_EQ((Commands{"open " + tone + " alias " + device.alias(), "close " + device.alias()}), log.commands());
    EXPECT_TRUE(log.allSucceeded());
}

TEST_F(MciDeviceCommands, CloseAllIsSentSilently) {
    MciDevice::closeAll();
    EXPECT_EQ((Commands{"close all"}), log.commands());
    EXPECT_TRUE(watcher.boxes().empty());
}

// No template in the folder, so every command fails (with its box) and
// Wine's recorder never runs: it loses devices and corrupts the heap when a
// stop follows a record closely, even driven by bare mciSendString.
TEST_F(MciDeviceCommands, RecordAndSaveSendTheirSequencesAndTheCueTakesTheSavedName) {
    const std::string target = folder.file("recorded.wav");
    const std::string tooLong = folder.file(std::string(SoundCue::kMaxPathLength, 'r') + ".wav");
    SoundCue cue(parent.handle(), tone.c_str(), &notice);
    cue.record(tooLong, folder.path().c_str());
    cue.save();
    EXPECT_EQ(tone, cue.soundPath());  // a name that does not fit keeps the old path
    log.clear();
    cue.record(target, folder.path().c_str());
    cue.save();
    const std::string alias = cue.alias();
    EXPECT_EQ((Commands{"open " + folder.path() + "DUMMY.WAV alias " + alias, "delete " + alias,
                        "record " + alias + " overwrite", "stop " + alias, "save " + alias + " " + target,
                        "close " + alias}),
              log.commands());
    EXPECT_EQ(12u, watcher.boxes().size());
    EXPECT_FALSE(cue.isOpen() || cue.isPlaying());
    EXPECT_EQ(target, cue.soundPath());
}

// A missing sound: every command fails with a box, and the flags change as
// if it had not, so the renderer does not retry it on every frame.
TEST_F(MciDeviceCommands, MissingFileShowsEachFailedCommandWithMciText) {
    const std::string missing = folder.file("missing.wav");
    {
        SoundCue cue(parent.handle(), missing.c_str(), &notice);
        cue.playNotify();
        EXPECT_TRUE(cue.isOpen());
        EXPECT_TRUE(cue.isPlaying());
    }
    const Commands commands = log.commands();
    ASSERT_EQ(4u, commands.size());
    ASSERT_EQ(4u, watcher.boxes().size());
    const std::string alias = commands[1].substr(5, commands[1].find(' ', 5) - 5);
    EXPECT_EQ((Commands{"open " + missing + " type waveaudio alias " + alias, "play " + alias + " notify",
                        "stop " + alias, "close " + alias}),
              commands);
    for (size_t i = 0; i < commands.size(); ++i) {
        const SeenBox& box = watcher.boxes()[i];
        EXPECT_EQ(fw::Application::instance().title(), box.caption);
        const std::string head = commands[i] + ":\n";
        ASSERT_EQ(head, box.text.substr(0, head.size()));
        EXPECT_GT(box.text.size(), head.size()) << "no MCI text for " << commands[i];
    }
    EXPECT_FALSE(notice.reported);  // a failed command is not a failed play
}

TEST_F(MciDeviceCommands, CueWithoutAPathNeverSendsACommand) {
    {
        SoundCue none(parent.handle(), nullptr, &notice), empty(parent.handle(), "", &notice);
        none.playNotify();
        none.playWait();
        empty.playNotify();
        EXPECT_FALSE(none.isOpen() || none.isPlaying() || empty.isPlaying());
    }
    EXPECT_TRUE(log.commands().empty());
    EXPECT_TRUE(watcher.boxes().empty());
}

// A cut path would name another file: a path that does not fit is refused
// and told once per movie.
TEST_F(MciDeviceCommands, PathLongerThan143CharactersIsRefused) {
    const std::string fits = "C:\\" + std::string(SoundCue::kMaxPathLength - 7, 'a') + ".WAV";
    const std::string tooLong = "C:\\" + std::string(SoundCue::kMaxPathLength - 6, 'a') + ".WAV";
    ASSERT_EQ(143u, fits.size());
    EXPECT_EQ(fits, SoundCue(parent.handle(), fits.c_str(), &notice).soundPath());
    {
        SoundCue cue(parent.handle(), tooLong.c_str(), &notice);
        EXPECT_TRUE(cue.soundPath().empty());
        cue.playNotify();
        cue.playNotify();
        EXPECT_FALSE(cue.isPlaying());
        SoundCue next(parent.handle(), tooLong.c_str(), &notice);
        next.playNotify();
    }
    EXPECT_TRUE(log.commands().empty());
    ASSERT_EQ(1u, watcher.boxes().size());
    EXPECT_EQ("Error", watcher.boxes()[0].caption);
    EXPECT_EQ("Sound file path too long: " + tooLong, watcher.boxes()[0].text);
}

}  // namespace
