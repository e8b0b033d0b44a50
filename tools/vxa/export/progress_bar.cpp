#include "progress_bar.h"

#include <unistd.h>

#include <cstdio>

namespace vxa::tool {
namespace {
constexpr int kBarWidth = 30;
// Redrawing more often than this only costs time.
constexpr auto kRedrawPeriod = std::chrono::milliseconds(100);
}  // namespace

ProgressBar::ProgressBar(std::string label, size_t total)
    : label_(std::move(label)), total_(total), shown_(isatty(STDERR_FILENO) != 0) {}

ProgressBar::~ProgressBar() { done(); }

void ProgressBar::advance() {
  ++count_;
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (count_ < total_ && now - lastDraw_ < kRedrawPeriod) return;
  lastDraw_ = now;
  draw();
}

void ProgressBar::draw() {
  const size_t filled = total_ ? count_ * kBarWidth / total_ : kBarWidth;
  std::string bar(filled, '#');
  bar.resize(kBarWidth, '-');
  std::fprintf(stderr, "\r%s [%s] %zu/%zu frames", label_.c_str(), bar.c_str(), count_, total_);
  std::fflush(stderr);
}

void ProgressBar::done() {
  if (!shown_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace vxa::tool
