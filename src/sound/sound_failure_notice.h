#pragma once
// Sound is a nicety: when it fails, the user hears about it once and the
// animation goes on silently. A Movie owns one notice for all its sounds.

struct SoundFailureNotice {
    bool reported = false;
    // The movie's instance has ended: its devices send nothing but the stop
    // and close of a device already open, and tell the user nothing.
    bool silenced = false;
};

// True the first time a failure is claimed on the notice, false afterwards
// and on a silenced notice.
// Devices without a notice of their own share one for the whole process, so
// that a page full of silent devices raises one box, not one per device.
bool claimFirstSoundFailure(SoundFailureNotice* notice);
