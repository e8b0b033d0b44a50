// vxa export MOVIE.vxa -o OUT.gif|OUT.png|OUT.webm|OUT.mp4 [--sounds DIR]
//                      [--loops K] [--hold MS]
// The movie as the plug-in plays it from a local file, as an animated GIF,
// an animated PNG or a video with its sounds: every frame held for the time
// the plug-in shows it.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <numeric>
#include <sndfile.h>

#include "arguments.h"
#include "commands.h"
#include "export/apng_writer.h"
#include "export/export_playback.h"
#include "export/gif_writer.h"
#include "export/progress_bar.h"
#include "export/sound_track.h"
#include "export/video_writer.h"
#include "files.h"
#include "frame_painter.h"
#include "local_playback.h"
#include "movie_file.h"
#include "sound_folder.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

namespace fs = std::filesystem;

enum class Format { Gif, Apng, WebM, Mp4 };

// Loop sections are bounded so that a typing slip cannot make an export run for hours.
constexpr long kMostLoops = 1000;
constexpr long kMostHoldMs = 3600000;

Format formatOf(const std::string& path) {
  std::string extension = fs::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".gif") return Format::Gif;
  if (extension == ".png" || extension == ".apng") return Format::Apng;
  if (extension == ".webm") return Format::WebM;
  if (extension == ".mp4") return Format::Mp4;
  usageError("export writes .gif, .png (animated), .webm or .mp4, not \"" + path + "\"");
}

bool isVideo(Format format) { return format == Format::WebM || format == Format::Mp4; }

// Pictures that stay the same from one frame to the next become one frame
// of the sum of their times.
template <typename Writer>
class FrameJoiner {
 public:
  explicit FrameJoiner(Writer& writer) : writer_(writer) {}
  void add(const raster::Image& picture, uint32_t durationMs) {
    if (held_ && picture.pixels == pending_.pixels) {
      pendingMs_ += durationMs;
      return;
    }
    flush();
    pending_ = picture;
    pendingMs_ = durationMs;
    held_ = true;
  }
  void flush() {
    if (held_) writer_.addFrame(pending_, pendingMs_);
    held_ = false;
  }

 private:
  Writer& writer_;
  raster::Image pending_;
  uint32_t pendingMs_ = 0;
  bool held_ = false;
};

// Paints every frame of the run into `writer`, each with its time.
template <typename Writer>
void paintFrames(const MovieFile& movie, const ExportSettings& settings, const ExportRun& plan, Writer& writer) {
  FrameJoiner<Writer> joiner(writer);
  ProgressBar progress("vxa export", plan.shown.size());
  std::unique_ptr<FramePainter> painter;
  size_t index = 0;
  playForExport(movie.bytes(), settings, [&](const playback::TimerStep& step, const playback::MoviePlayer& player) {
    // The same run as the plan: the same frames at the same times.
    if (!step.shown || index == plan.shown.size()) return;
    if (!painter) painter = std::make_unique<FramePainter>(player.movie());
    const uint32_t until = index + 1 < plan.shown.size() ? plan.shown[index + 1].at : plan.endMs;
    joiner.add(painter->paint(step.shown), until - plan.shown[index].at);
    ++index;
    progress.advance();
  });
  joiner.flush();
  progress.done();
}

// The length every frame's time is a multiple of (the timer's period, or a
// multiple of it).
uint32_t commonFrameTime(const ExportRun& plan) {
  uint32_t unit = 0;
  for (size_t i = 0; i < plan.shown.size(); ++i) {
    const uint32_t until = i + 1 < plan.shown.size() ? plan.shown[i + 1].at : plan.endMs;
    unit = std::gcd(unit, until - plan.shown[i].at);
  }
  // 10 ms (100 frames a second) is the finest a video needs; rounding on the
  // running total keeps the times of any finer ones.
  return std::max<uint32_t>(unit, 10);
}

void writeWav(const std::string& path, const std::vector<float>& samples) {
  SF_INFO info{};
  info.samplerate = SoundTrack::kRate;
  info.channels = SoundTrack::kChannels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) fail(path + ": " + sf_strerror(nullptr));
  const sf_count_t frames = static_cast<sf_count_t>(samples.size() / SoundTrack::kChannels);
  const sf_count_t written = sf_writef_float(file, samples.data(), frames);
  sf_close(file);
  if (written != frames) fail(path + ": the sound track could not be written whole");
}

// A temporary file removed with its scope.
struct TemporaryFile {
  std::string path;
  ~TemporaryFile() {
    std::error_code ignored;
    if (!path.empty()) fs::remove(path, ignored);
  }
};

void exportVideo(const MovieFile& movie, const ExportSettings& settings, const ExportRun& plan,
                 const SoundFolder* sounds, VideoWriter::Settings video) {
  TemporaryFile wav;
  if (sounds) {
    // The video starts with the first frame shown, and the first cue with it.
    const uint32_t start = plan.shown.front().at;
    SoundTrack track(*sounds);
    playForExport(movie.bytes(), settings, [&](const playback::TimerStep& step, const playback::MoviePlayer&) {
      for (const playback::CueEvent& cue : step.cues) track.cue(step.at - start, cue);
    });
    for (int16_t number : track.missing()) {
      std::cerr << "vxa: sound " << number << " has no file in " << sounds->folder()
                << ": it is silent in the video\n";
    }
    if (track.audible()) {
      const fs::path target(video.path);
      wav.path = (target.parent_path() / ("." + target.filename().string() + ".sound.wav")).string();
      writeWav(wav.path, track.mix(plan.endMs - start));
      video.soundTrack = wav.path;
    }
  } else {
    bool namesSounds = false;
    playForExport(movie.bytes(), settings, [&](const playback::TimerStep& step, const playback::MoviePlayer& player) {
      const FrameRecord* record = step.shown ? player.movie().frame(step.shown) : nullptr;
      namesSounds = namesSounds || (record && record->soundNumber != 0);
    });
    if (namesSounds) {
      std::cerr << "vxa: " << noSoundFolderNotice("the video has no sound") << "\n";
    }
  }
  VideoWriter writer(std::move(video));
  paintFrames(movie, settings, plan, writer);
  writer.finish();
}

}  // namespace

int exportCommand(const Args& args) {
  const Arguments arguments("export", args, {{"-o", "--sounds", "--loops", "--hold"}, {}, {}});
  const std::optional<std::string> output = arguments.value("-o");
  if (!output) usageError("export needs -o OUT.gif, OUT.png, OUT.webm or OUT.mp4");
  const Format format = formatOf(*output);
  // Before any work: a video cannot be made without it.
  const std::string ffmpeg = isVideo(format) ? findFfmpeg() : "";

  const MovieFile movie(arguments.input());
  const std::unique_ptr<SoundFolder> sounds = soundFolderFor(arguments.value("--sounds"), arguments.input());
  ExportSettings settings;
  settings.loops = static_cast<int>(arguments.number("--loops", 0, kMostLoops).value_or(kDefaultLoops));
  settings.holdMs = static_cast<uint32_t>(arguments.number("--hold", 0, kMostHoldMs).value_or(kDefaultHoldMs));
  settings.sounds = sounds.get();

  const ExportRun plan = playForExport(movie.bytes(), settings, [](const auto&, const auto&) {});
  if (plan.shown.empty()) fail(movie.path() + ": the plug-in shows no frame of this movie: nothing to export");
  if (plan.end.reason == playback::TimelineEnd::Reason::Stalled) {
    std::cerr << "vxa: playback stalls after frame " << plan.end.currentFrame
              << " (a frame or a group it places never arrives): the export ends there\n";
  }
  switch (format) {
    case Format::Gif: {
      GifWriter writer;
      paintFrames(movie, settings, plan, writer);
      writeFileWhole(*output, writer.finish());
      break;
    }
    case Format::Apng: {
      ApngWriter writer;
      paintFrames(movie, settings, plan, writer);
      writeFileWhole(*output, writer.finish());
      break;
    }
    case Format::WebM:
    case Format::Mp4: {
      VideoWriter::Settings video;
      video.ffmpeg = ffmpeg;
      video.path = *output;
      video.container = format == Format::WebM ? VideoWriter::Container::WebM : VideoWriter::Container::Mp4;
      video.frameMs = commonFrameTime(plan);
      exportVideo(movie, settings, plan, sounds.get(), std::move(video));
      break;
    }
  }
  return 0;
}

}  // namespace vxa::tool
