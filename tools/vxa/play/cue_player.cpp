#include "play/cue_player.h"

#include <algorithm>
#include <cstring>

#include "export/sound_track.h"

namespace vxa::tool {

CuePlayer::CuePlayer(const SoundFolder* sounds) : sounds_(sounds) {
    if (!sounds_) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem_ = std::string("no sound: ") + SDL_GetError();
        return;
    }
    SDL_AudioSpec want{};
    want.freq = SoundTrack::kRate;
    want.format = AUDIO_F32SYS;
    want.channels = SoundTrack::kChannels;
    want.samples = 512;  // about 12 ms: a cue starts with its frame
    want.callback = &CuePlayer::fill;
    want.userdata = this;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!device_) {
        problem_ = std::string("no sound: ") + SDL_GetError();
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
}

CuePlayer::~CuePlayer() {
    if (device_) SDL_CloseAudioDevice(device_);
}

void CuePlayer::fill(void* self, Uint8* stream, int length) {
    auto& player = *static_cast<CuePlayer*>(self);
    float* out = reinterpret_cast<float*>(stream);
    const size_t wanted = static_cast<size_t>(length) / sizeof(float);
    size_t given = 0;
    if (player.playing_) {
        const std::vector<float>& samples = *player.playing_;
        given = std::min(wanted, samples.size() - std::min(samples.size(), player.position_));
        std::memcpy(out, samples.data() + player.position_, given * sizeof(float));
        player.position_ += given;
    }
    std::fill(out + given, out + wanted, 0.0f);
}

void CuePlayer::cue(const playback::CueEvent& event) {
    if (!device_) return;
    std::shared_ptr<const std::vector<float>> next;
    if (event.kind != playback::CueEvent::Kind::Stop && event.audible) {
        std::shared_ptr<const std::vector<float>>& known = converted_[event.number];
        if (!known) known = std::make_shared<const std::vector<float>>(trackSamples(*sounds_, event.number));
        next = known;
    }
    SDL_LockAudioDevice(device_);
    playing_ = std::move(next);
    position_ = 0;
    SDL_UnlockAudioDevice(device_);
}

}  // namespace vxa::tool
