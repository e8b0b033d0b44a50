#pragma once
// The set-up the device and cue tests share: boxes answered, a parent for
// media windows, a real 0.3 s tone in a fresh folder, a movie's failure
// notice and the log of every MCI command.
#include <gtest/gtest.h>

#include <string>

#include "message_box_watcher.h"
#include "sound/sound_failure_notice.h"
#include "sound_test_support.h"

struct ToneFixture : testing::Test {
    MessageBoxWatcher watcher;
    ParentWindow parent;
    TempFolder folder;
    std::string tone = folder.file("tone.wav");
    SoundFailureNotice notice;
    CommandLog log;
    ToneFixture() { writeToneWav(tone, 0.3); }
};
