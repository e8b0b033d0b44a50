#include "video_writer.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "tool_failure.h"

extern char** environ;

namespace vxa::tool {
namespace {

std::vector<std::string> ffmpegArguments(const VideoWriter::Settings& s, int width, int height,
                                         const std::string& target) {
  const bool webm = s.container == VideoWriter::Container::WebM;
  std::vector<std::string> args = {
      s.ffmpeg, "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
      // Our pixels are 0x00RRGGBB words: bytes B, G, R and an unused one.
      "-f", "rawvideo", "-pix_fmt", "bgr0", "-video_size",
      std::to_string(width) + "x" + std::to_string(height), "-framerate",
      "1000/" + std::to_string(s.frameMs), "-i", "pipe:0"};
  if (s.soundTrack) args.insert(args.end(), {"-i", *s.soundTrack, "-map", "0:v", "-map", "1:a"});
  // 4:2:0 video wants an even width and height: a movie of odd size gets a
  // line of black at its right or bottom.
  args.insert(args.end(), {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p"});
  if (webm) {
    args.insert(args.end(), {"-c:v", "libvpx-vp9", "-crf", "30", "-b:v", "0", "-deadline", "realtime",
                             "-cpu-used", "8", "-row-mt", "1"});
    if (s.soundTrack) args.insert(args.end(), {"-c:a", "libopus", "-b:a", "96k"});
  } else {
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-movflags", "+faststart"});
    if (s.soundTrack) args.insert(args.end(), {"-c:a", "aac", "-b:a", "128k"});
  }
  args.insert(args.end(), {"-f", webm ? "webm" : "mp4", target});
  return args;
}

}  // namespace

std::string findFfmpeg() {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = end > start ? folders.substr(start, end - start) : ".";
    const std::string candidate = folder + "/ffmpeg";
    if (access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate)) return candidate;
    start = end + 1;
  }
  fail("video export needs ffmpeg, which is not installed; install it with: sudo apt-get install ffmpeg");
}

void VideoWriter::start(int width, int height) {
  const std::filesystem::path target(settings_.path);
  partial_ = (target.parent_path() / ("." + target.filename().string() + ".partial")).string();
  const std::vector<std::string> args = ffmpegArguments(settings_, width, height, partial_);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  int ends[2];
  if (pipe(ends) != 0) fail(std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno));
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  posix_spawn_file_actions_addclose(&actions, ends[1]);
  const int error = posix_spawn(&ffmpeg_, settings_.ffmpeg.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[0]);
  if (error != 0) {
    close(ends[1]);
    ffmpeg_ = -1;
    fail("cannot start " + settings_.ffmpeg + ": " + std::strerror(error));
  }
  pipe_ = ends[1];
  // A failing ffmpeg closes its end: writing then gives an error, not a signal.
  std::signal(SIGPIPE, SIG_IGN);
}

VideoWriter::~VideoWriter() {
  if (ffmpeg_ > 0) {
    closePipe();
    kill(ffmpeg_, SIGTERM);
    waitpid(ffmpeg_, nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove(partial_, ignored);
  }
}

void VideoWriter::closePipe() {
  if (pipe_ >= 0) close(pipe_);
  pipe_ = -1;
}

void VideoWriter::addFrame(const raster::Image& picture, uint32_t durationMs) {
  if (ffmpeg_ < 0) start(picture.width, picture.height);
  // Frames are counted on the running total, so the video keeps the movie's
  // time even where a frame's time is no multiple of the video's frame.
  elapsedMs_ += durationMs;
  const uint64_t until = (elapsedMs_ + settings_.frameMs / 2) / settings_.frameMs;
  const auto* bytes = reinterpret_cast<const char*>(picture.pixels.data());
  const size_t size = picture.pixels.size() * sizeof(uint32_t);
  for (; framesWritten_ < until; ++framesWritten_) {
    for (size_t sent = 0; sent < size;) {
      const ssize_t n = write(pipe_, bytes + sent, size - sent);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fail("ffmpeg stopped taking frames (its message is above)");
      sent += static_cast<size_t>(n);
    }
  }
}

void VideoWriter::finish() {
  if (ffmpeg_ < 0) fail("video encoder: no frame to write");
  closePipe();
  int status = 0;
  while (waitpid(ffmpeg_, &status, 0) < 0 && errno == EINTR) {
  }
  ffmpeg_ = -1;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::error_code ignored;
    std::filesystem::remove(partial_, ignored);
    fail("ffmpeg failed to make " + settings_.path + " (its message is above)");
  }
  std::error_code error;
  std::filesystem::rename(partial_, settings_.path, error);
  if (error) fail(settings_.path + ": " + error.message());
}

}  // namespace vxa::tool
