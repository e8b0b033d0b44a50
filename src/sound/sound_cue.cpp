#include "sound/sound_cue.h"

#include "plugin/messages.h"
#include "plugin/report.h"
#include "sound/sound_failure_notice.h"

SoundCue::SoundCue(HWND parentWindow, const char* path, SoundFailureNotice* notice)
    : WaveAudioDevice(parentWindow, notice), parentWindow_(parentWindow) {
    if (!path) return;
    std::string given(path);
    if (given.size() > kMaxPathLength)
        refusedPath_ = std::move(given);
    else
        soundPath_ = std::move(given);
}

SoundCue::~SoundCue() {
    stop();
    close();
}

bool SoundCue::readyToPlay() {
    if (!refusedPath_.empty() && claimFirstSoundFailure(failureNotice()))
        reportError(messages::kSoundPathTooLong, refusedPath_.c_str());
    return !soundPath_.empty();
}

void SoundCue::playNotify(HWND window) {
    if (!readyToPlay()) return;
    const std::weak_ptr<void> alive = lifeToken();
    open(soundPath_);
    if (alive.expired()) return;
    WaveAudioDevice::playNotify(window);
}

void SoundCue::playWait() {
    if (!readyToPlay()) return;
    const std::weak_ptr<void> alive = lifeToken();
    open(soundPath_);
    if (alive.expired()) return;
    WaveAudioDevice::playWait();
    if (alive.expired()) return;
    close();
}

void SoundCue::save() {
    const std::weak_ptr<void> alive = lifeToken();
    WaveAudioDevice::save();
    if (alive.expired()) return;
    // A name too long keeps the old path: it still names a real sound.
    if (fileName().size() <= kMaxPathLength) soundPath_ = fileName();
}
