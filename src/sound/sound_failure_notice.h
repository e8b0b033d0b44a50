#pragma once
// Sound is a nicety: when it fails, the user hears about it once and the
// animation goes on silently. A Movie owns one notice for all its sounds.

struct SoundFailureNotice {
    bool reported = false;
};

// True the first time a failure is claimed on the notice, false afterwards.
// Devices without a notice of their own share one for the whole process, so
// that a page full of silent devices raises one box, not one per device.
bool claimFirstSoundFailure(SoundFailureNotice* notice);
