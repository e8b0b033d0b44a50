#pragma once
// A folder of a movie's numbered sound files, as the plug-in finds them: the
// sound number in decimal and ".WAV" (the name matched without regard to
// case, as Windows matches it). Read with libsndfile.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/timeline/movie_player.h"

namespace vxa::tool {

class SoundFolder : public playback::SoundLibrary {
 public:
  // Fails when the folder cannot be read.
  explicit SoundFolder(const std::string& folder);

  const std::string& folder() const { return folder_; }
  // The path of sound `number`'s file, when there is one.
  std::optional<std::string> fileOf(int16_t number) const;
  // Milliseconds the sound plays; nullopt when there is no file, or it is
  // no sound file.
  std::optional<uint32_t> soundLength(int16_t number) const override;

  struct Samples {
    int rate = 0;
    int channels = 0;
    std::vector<float> interleaved;
  };
  // The sound's samples; nullopt as for soundLength.
  std::optional<Samples> samples(int16_t number) const;

 private:
  std::string folder_;
  std::map<std::string, std::string> files_;  // lower-case name -> path
  mutable std::map<int16_t, std::optional<uint32_t>> lengths_;
};

// The folder the plug-in would play a movie's sounds from: the one given
// (--sounds), or else VXA_WAV beside the movie when there is one; null for
// none.
std::unique_ptr<SoundFolder> soundFolderFor(const std::optional<std::string>& given, const std::string& moviePath);

// What a command says of a movie that names sounds when it has no folder of
// them; `consequence` ends the sentence ("the video has no sound").
std::string noSoundFolderNotice(const std::string& consequence);

}  // namespace vxa::tool
