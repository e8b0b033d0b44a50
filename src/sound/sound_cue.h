#pragma once
// The sound of one numbered sound file of a movie. The cue remembers its
// path, so every play opens the file first: a cue whose device closed itself
// at the end of its sound can simply be played again (under a new alias).
#include <windows.h>

#include <cstddef>
#include <string>

#include "sound/wave_audio_device.h"

struct SoundFailureNotice;

class SoundCue : public WaveAudioDevice {
public:
    // The longest path a cue takes. A longer one is refused rather than cut:
    // a cut path names another file, or one that does not exist.
    static constexpr std::size_t kMaxPathLength = 143;

    // path: the .WAV file, or null/empty for a cue that plays nothing.
    // notice: the movie's, so that its sound failures are told once.
    SoundCue(HWND parentWindow, const char* path, SoundFailureNotice* notice);
    // Stops and closes: a cue may be destroyed in any state without leaving
    // an MCI device open.
    ~SoundCue() override;

    void playNotify(HWND window = nullptr) override;
    void playWait() override;
    // Saves the recording, which the cue then plays (when its name fits).
    void save() override;

    HWND parentWindow() const { return parentWindow_; }
    const std::string& soundPath() const { return soundPath_; }

private:
    // False when there is nothing to play; a refused path is told once.
    bool readyToPlay();

    HWND parentWindow_;
    std::string soundPath_;
    std::string refusedPath_;
};
