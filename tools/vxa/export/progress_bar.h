#pragma once
// A progress bar for long exports, drawn on stderr only when stderr is a
// terminal: a log or a pipe gets nothing but the messages.
#include <chrono>
#include <cstddef>
#include <string>

namespace vxa::tool {

class ProgressBar {
 public:
  ProgressBar(std::string label, size_t total);
  ~ProgressBar();

  void advance();
  // Clears the bar, so the messages after it start on a clean line.
  void done();

 private:
  void draw();

  std::string label_;
  size_t total_;
  size_t count_ = 0;
  bool shown_;
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace vxa::tool
