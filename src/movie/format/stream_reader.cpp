#include "movie/format/stream_reader.h"

#include <algorithm>

namespace vxa {

void StreamReader::appendSlowly(const uint8_t* data, size_t length) {
  if (broken_ || length == 0) return;
  if (!headerComplete_) {
    // Sized exactly, so that every append goes this way until the header is
    // complete; a header is at most 20 bytes.
    buffer_.resize(filled_ + length);
    std::memcpy(buffer_.data() + filled_, data, length);
    filled_ += length;
    if (decodeHeader(bytes(), filled_, header_) == HeaderStatus::Complete) {
      headerComplete_ = true;
      readOffset_ = headerSize(header_.layout);
      needed_ = 2;
    }
    return;
  }
  // Out of room: drop the consumed prefix if that frees more than half,
  // otherwise grow, so that every byte is moved a bounded number of times.
  if (readOffset_ > filled_ / 2) {
    std::memmove(buffer_.data(), buffer_.data() + readOffset_, filled_ - readOffset_);
    filled_ -= readOffset_;
    readOffset_ = 0;
  }
  if (length > buffer_.size() - filled_) {
    buffer_.resize(std::max({buffer_.size() * 2, filled_ + length, size_t{256}}));
  }
  std::memcpy(buffer_.data() + filled_, data, length);
  filled_ += length;
}

StreamReader::Next StreamReader::breakDown() {
  broken_ = true;
  needed_ = SIZE_MAX;
  std::vector<Octet>().swap(buffer_);
  filled_ = 0;
  readOffset_ = 0;
  return Next::Broken;
}

}  // namespace vxa
