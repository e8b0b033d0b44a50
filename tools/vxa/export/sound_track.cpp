#include "sound_track.h"

#include <samplerate.h>

#include <algorithm>
#include <string>

#include "tool_failure.h"

namespace vxa::tool {
namespace {

size_t frameAt(uint32_t ms) { return static_cast<size_t>(static_cast<uint64_t>(ms) * SoundTrack::kRate / 1000); }

// Mono sounds go to both sides; of more than two channels the first two are kept.
std::vector<float> toTrackChannels(const SoundFolder::Samples& samples) {
  const size_t frames = samples.interleaved.size() / samples.channels;
  std::vector<float> out(frames * SoundTrack::kChannels);
  for (size_t f = 0; f < frames; ++f) {
    for (int c = 0; c < SoundTrack::kChannels; ++c) {
      out[f * SoundTrack::kChannels + c] = samples.interleaved[f * samples.channels + std::min(c, samples.channels - 1)];
    }
  }
  return out;
}

std::vector<float> toTrackRate(std::vector<float> samples, int rate) {
  if (rate == SoundTrack::kRate || samples.empty()) return samples;
  const double ratio = static_cast<double>(SoundTrack::kRate) / rate;
  const size_t inFrames = samples.size() / SoundTrack::kChannels;
  std::vector<float> out((static_cast<size_t>(inFrames * ratio) + 16) * SoundTrack::kChannels);
  SRC_DATA data{};
  data.data_in = samples.data();
  data.input_frames = static_cast<long>(inFrames);
  data.data_out = out.data();
  data.output_frames = static_cast<long>(out.size() / SoundTrack::kChannels);
  data.src_ratio = ratio;
  const int error = src_simple(&data, SRC_SINC_MEDIUM_QUALITY, SoundTrack::kChannels);
  if (error) fail(std::string("sound conversion: ") + src_strerror(error));
  out.resize(static_cast<size_t>(data.output_frames_gen) * SoundTrack::kChannels);
  return out;
}

}  // namespace

std::vector<float> trackSamples(const SoundFolder& sounds, int16_t number) {
  if (const std::optional<SoundFolder::Samples> file = sounds.samples(number); file && file->channels > 0) {
    return toTrackRate(toTrackChannels(*file), file->rate);
  }
  return {};
}

void SoundTrack::cue(uint32_t atMs, const playback::CueEvent& event) {
  // Whatever plays ends here: the one cue is stopped, replaced or restarted.
  if (!plays_.empty() && !plays_.back().untilMs) plays_.back().untilMs = atMs;
  if (event.kind == playback::CueEvent::Kind::Stop) return;
  if (!event.audible) {
    if (std::find(missing_.begin(), missing_.end(), event.number) == missing_.end()) missing_.push_back(event.number);
    return;
  }
  audible_ = true;
  plays_.push_back({event.number, atMs, std::nullopt});
}

const std::vector<float>& SoundTrack::converted(int16_t number) const {
  const auto known = converted_.find(number);
  if (known != converted_.end()) return known->second;
  return converted_[number] = trackSamples(sounds_, number);
}

std::vector<float> SoundTrack::mix(uint32_t durationMs) const {
  std::vector<float> track(frameAt(durationMs) * kChannels, 0.0f);
  for (const Play& play : plays_) {
    const std::vector<float>& samples = converted(play.number);
    const size_t from = frameAt(play.fromMs) * kChannels;
    size_t until = play.untilMs ? frameAt(*play.untilMs) * kChannels : track.size();
    until = std::min({until, track.size(), from + samples.size()});
    for (size_t i = from; i < until; ++i) track[i] += samples[i - from];
  }
  return track;
}

}  // namespace vxa::tool
