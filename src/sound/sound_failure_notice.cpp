#include "sound/sound_failure_notice.h"

bool claimFirstSoundFailure(SoundFailureNotice* notice) {
    static SoundFailureNotice processNotice;
    SoundFailureNotice& used = notice ? *notice : processNotice;
    if (used.reported || used.silenced) return false;
    used.reported = true;
    return true;
}
