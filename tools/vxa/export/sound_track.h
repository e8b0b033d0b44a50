#pragma once
// The sound of an export: the movie's one sound cue as the timeline drives
// it, laid on a single track. A cue plays its file from the start until the
// cue is stopped, replaced or played again, or the file ends, exactly where
// the timeline says; files of any rate and channel count are brought to the
// track's by libsamplerate.
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "core/timeline/movie_player.h"
#include "sound_folder.h"

namespace vxa::tool {

// Sound `number`'s samples at the track's rate and channels (below),
// interleaved; empty without a file.
std::vector<float> trackSamples(const SoundFolder& sounds, int16_t number);

class SoundTrack {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kChannels = 2;

  explicit SoundTrack(const SoundFolder& sounds) : sounds_(sounds) {}

  // A cue event of a frame shown at `atMs`.
  void cue(uint32_t atMs, const playback::CueEvent& event);
  // Whether any cue with a sound file started.
  bool audible() const { return audible_; }
  // The numbers of cues that started without a file (they stay silent).
  const std::vector<int16_t>& missing() const { return missing_; }

  // The track, durationMs long: interleaved samples, kChannels a frame.
  std::vector<float> mix(uint32_t durationMs) const;

 private:
  struct Play {
    int16_t number;
    uint32_t fromMs;
    std::optional<uint32_t> untilMs;
  };
  // The sound's samples at the track's rate and channels; empty without a file.
  const std::vector<float>& converted(int16_t number) const;

  const SoundFolder& sounds_;
  std::vector<Play> plays_;
  bool audible_ = false;
  std::vector<int16_t> missing_;
  mutable std::map<int16_t, std::vector<float>> converted_;
};

}  // namespace vxa::tool
