#pragma once
// The sound step: what a frame's sound number does to the movie's one sound
// cue when the frame is shown. A sound carries on through the frames after
// it that name no sound, as long as they are shown one after the other; a
// number repeated on consecutive frames starts its sound again each time it
// has ended; anything else stops it.
#include <cstdint>

namespace playback {

struct SoundState {
    int16_t number = 0;      // the sound the cue belongs to; 0 none
    int16_t startFrame = 0;  // the frame that last started the cue or carried it on
};

enum class SoundStep {
    Nothing,    // leave the cue as it is
    Start,      // stop and drop any cue, then make one for the frame's sound and play it
    PlayAgain,  // the frame's sound has ended: play the same cue again
    CarryOn,    // the sound goes on into this frame
    Stop,       // stop and drop the cue
};

// frameSound: the frame's sound number (0 none); currentFrame: the frame
// being shown; cueExists, cuePlaying: the movie's cue now.
SoundStep decideSoundStep(int16_t frameSound, const SoundState& state, bool cueExists, bool cuePlaying,
                          int16_t currentFrame);

// What the step leaves in the state. cueStarted (Start only): a cue could be
// made and was told to play; without one the sound number is still taken,
// so later frames naming it stay silent.
void recordSoundStep(SoundState& state, SoundStep step, int16_t frameSound, int16_t currentFrame, bool cueStarted);

}  // namespace playback
