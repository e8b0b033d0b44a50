#include "web/wasm/web_movie.h"

#include "movie/format/header.h"

namespace web {

FontFiles& fonts() {
  static FontFiles files;
  return files;
}

void FontFiles::provide(const std::string& fileName, std::vector<uint8_t> bytes) {
  files_[fileName] = std::move(bytes);
}
void FontFiles::missing(const std::string& fileName) { missing_[fileName] = true; }
bool FontFiles::settled(const std::string& fileName) const {
  return files_.count(fileName) || missing_.count(fileName);
}
const std::vector<uint8_t>* FontFiles::bytes(const std::string& fileName) const {
  auto it = files_.find(fileName);
  return it == files_.end() ? nullptr : &it->second;
}

uint32_t WebMovie::timerPeriod() { return 20; }
uint8_t* WebMovie::chunkBuffer(size_t length) {
  chunk_.resize(length);
  return chunk_.data();
}
bool WebMovie::takeChunk(size_t length) {
  if (!movie_) {
    vxa::Header header;
    if (vxa::decodeHeader(chunk_.data(), length, header) == vxa::HeaderStatus::Complete) {
      width_ = header.width;
      height_ = header.height;
      picture_.assign(size_t(width_) * height_ * 4, 255);
    }
    movie_ = true;
    return false;
  }
  return length > 0;
}
bool WebMovie::endOfStream() { return movie_; }
bool WebMovie::tick(uint32_t, bool) {
  events_.push_back(Event{EventKind::FrameShown, 1, ""});
  return false;
}
bool WebMovie::click() { return false; }
void WebMovie::pause() {}
bool WebMovie::isPaused() const { return false; }
void WebMovie::soundEnded() {}
void WebMovie::retryHeldBack() {}
int WebMovie::width() const { return width_; }
int WebMovie::height() const { return height_; }
const uint8_t* WebMovie::picture() const { return picture_.data(); }
int WebMovie::cursor() const { return movie_ ? 104 : 0; }
int WebMovie::currentFrame() const { return 0; }
EventKind WebMovie::nextEvent() {
  if (events_.empty()) {
    event_ = Event{};
    return EventKind::None;
  }
  event_ = events_.front();
  events_.pop_front();
  return event_.kind;
}

}  // namespace web
