#pragma once
// A video of a movie's frames through Debian's ffmpeg: raw frames are piped
// to it at a constant rate (each frame repeated for as long as it shows),
// and a sound track, when there is one, comes from a WAV file. .webm is VP9
// with Opus, .mp4 H.264 with AAC. What ffmpeg writes appears at the target
// only when it has finished well.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/raster/image.h"

namespace vxa::tool {

// The ffmpeg program on PATH; fails, saying how to install it, when there is none.
std::string findFfmpeg();

class VideoWriter {
 public:
  enum class Container { WebM, Mp4 };
  struct Settings {
    std::string ffmpeg;
    std::string path;
    Container container = Container::WebM;
    // How long each video frame lasts: every frame's time is a multiple of it.
    uint32_t frameMs = 20;
    // A WAV file laid under the whole video, or none.
    std::optional<std::string> soundTrack;
  };

  explicit VideoWriter(Settings settings) : settings_(std::move(settings)) {}
  ~VideoWriter();
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  // The next frame, shown for durationMs. The first gives the size and
  // starts ffmpeg.
  void addFrame(const raster::Image& picture, uint32_t durationMs);
  // Waits for ffmpeg and puts the video in place; fails when ffmpeg failed.
  void finish();

 private:
  void start(int width, int height);
  void closePipe();

  Settings settings_;
  std::string partial_;
  pid_t ffmpeg_ = -1;
  int pipe_ = -1;
  uint64_t elapsedMs_ = 0;
  uint64_t framesWritten_ = 0;
};

}  // namespace vxa::tool
