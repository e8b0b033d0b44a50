#include "core/timeline/sound_step.h"

namespace playback {

SoundStep decideSoundStep(int16_t frameSound, const SoundState& state, bool cueExists, bool cuePlaying,
                          int16_t currentFrame) {
    if (frameSound != 0) {
        if (frameSound != state.number) return SoundStep::Start;
        // The cue closed itself at the end of its sound.
        return cueExists && !cuePlaying ? SoundStep::PlayAgain : SoundStep::Nothing;
    }
    if (!cueExists) return SoundStep::Nothing;
    // Only a sound that started or carried on in the frame just before goes
    // on; a repeated number does not move startFrame, so the first frame
    // without a sound after two with it stops the sound.
    return state.startFrame == currentFrame - 1 ? SoundStep::CarryOn : SoundStep::Stop;
}

void recordSoundStep(SoundState& state, SoundStep step, int16_t frameSound, int16_t currentFrame, bool cueStarted) {
    switch (step) {
        case SoundStep::Start:
            state.number = frameSound;
            if (cueStarted) state.startFrame = currentFrame;
            break;
        case SoundStep::CarryOn: state.startFrame = currentFrame; break;
        case SoundStep::Stop: state.number = 0; break;
        case SoundStep::Nothing:
        case SoundStep::PlayAgain: break;
    }
}

}  // namespace playback
