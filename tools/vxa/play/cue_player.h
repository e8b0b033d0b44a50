#pragma once
// The movie's one sound cue, heard through the desktop's sound output (SDL):
// the timeline's cue events start, restart and stop it; a file plays from
// its start until then, or until it ends.
#include <SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/timeline/movie_player.h"
#include "sound_folder.h"

namespace vxa::tool {

class CuePlayer {
public:
    // sounds: null for a movie without a sound folder (it stays silent).
    explicit CuePlayer(const SoundFolder* sounds);
    ~CuePlayer();
    CuePlayer(const CuePlayer&) = delete;
    CuePlayer& operator=(const CuePlayer&) = delete;

    // Empty when sound plays; else why not (no output device), said once.
    const std::string& problem() const { return problem_; }
    void cue(const playback::CueEvent& event);

private:
    static void fill(void* self, Uint8* stream, int length);

    const SoundFolder* sounds_;
    SDL_AudioDeviceID device_ = 0;
    std::string problem_;
    // Converted once per sound; the device reads the one playing.
    std::map<int16_t, std::shared_ptr<const std::vector<float>>> converted_;
    std::shared_ptr<const std::vector<float>> playing_;
    size_t position_ = 0;
};

}  // namespace vxa::tool
