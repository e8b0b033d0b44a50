#include "sound_folder.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "tool_failure.h"

namespace vxa::tool {
namespace {

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// An open sound file, closed with its scope.
class SoundFile {
 public:
  explicit SoundFile(const std::string& path) : file_(sf_open(path.c_str(), SFM_READ, &info_)) {}
  ~SoundFile() {
    if (file_) sf_close(file_);
  }
  SoundFile(const SoundFile&) = delete;
  SoundFile& operator=(const SoundFile&) = delete;

  bool usable() const { return file_ && info_.samplerate > 0 && info_.channels > 0; }
  const SF_INFO& info() const { return info_; }
  SNDFILE* handle() const { return file_; }

 private:
  SF_INFO info_{};
  SNDFILE* file_;
};

}  // namespace

SoundFolder::SoundFolder(const std::string& folder) : folder_(folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    files_[lowerCase(entry.path().filename().string())] = entry.path().string();
  }
  if (error) fail(folder + ": cannot read the sound folder: " + error.message());
}

std::optional<std::string> SoundFolder::fileOf(int16_t number) const {
  const auto found = files_.find(std::to_string(number) + ".wav");
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

std::optional<uint32_t> SoundFolder::soundLength(int16_t number) const {
  const auto known = lengths_.find(number);
  if (known != lengths_.end()) return known->second;
  std::optional<uint32_t> length;
  if (const std::optional<std::string> path = fileOf(number)) {
    const SoundFile file(*path);
    if (file.usable()) {
      length = static_cast<uint32_t>(file.info().frames * 1000 / file.info().samplerate);
    }
  }
  lengths_[number] = length;
  return length;
}

std::optional<SoundFolder::Samples> SoundFolder::samples(int16_t number) const {
  const std::optional<std::string> path = fileOf(number);
  if (!path) return std::nullopt;
  const SoundFile file(*path);
  if (!file.usable()) return std::nullopt;
  Samples samples;
  samples.rate = file.info().samplerate;
  samples.channels = file.info().channels;
  samples.interleaved.resize(static_cast<size_t>(file.info().frames) * samples.channels);
  const sf_count_t read = sf_readf_float(file.handle(), samples.interleaved.data(), file.info().frames);
  samples.interleaved.resize(static_cast<size_t>(std::max<sf_count_t>(read, 0)) * samples.channels);
  return samples;
}

std::string noSoundFolderNotice(const std::string& consequence) {
  return "the movie names sounds, but there is no VXA_WAV folder beside it (or give --sounds DIR): " + consequence;
}

std::unique_ptr<SoundFolder> soundFolderFor(const std::optional<std::string>& given, const std::string& moviePath) {
  if (given) return std::make_unique<SoundFolder>(*given);
  const std::filesystem::path beside = std::filesystem::path(moviePath).parent_path() / "VXA_WAV";
  if (std::filesystem::is_directory(beside)) return std::make_unique<SoundFolder>(beside.string());
  return nullptr;
}

}  // namespace vxa::tool
