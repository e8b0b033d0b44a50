#include "movie/format/stream_reader.h"

#include "movie/format/framing.h"

namespace vxa {

void StreamReader::append(const uint8_t* data, size_t length) {
  if (broken_ || length == 0) return;
  if (readOffset_ == buffer_.size()) {
    buffer_.clear();
    readOffset_ = 0;
  } else if (readOffset_ > buffer_.size() / 2) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(readOffset_));
    readOffset_ = 0;
  }
  buffer_.insert(buffer_.end(), data, data + length);

  if (!headerComplete_ &&
      decodeHeader(buffer_.data(), buffer_.size(), header_) == HeaderStatus::Complete) {
    headerComplete_ = true;
    readOffset_ = headerSize(header_.layout);
  }
}

StreamReader::Next StreamReader::next(const uint8_t*& body, size_t& length) {
  if (broken_) return Next::Broken;
  if (!headerComplete_) return Next::NeedMore;
  const FrameInfo frame = inspectFrame(buffer_.data() + readOffset_, buffer_.size() - readOffset_);
  switch (frame.status) {
    case Framing::NeedMore:
      return Next::NeedMore;
    case Framing::BadLength:
      broken_ = true;
      std::vector<uint8_t>().swap(buffer_);
      readOffset_ = 0;
      return Next::Broken;
    case Framing::Complete:
      break;
  }
  body = buffer_.data() + readOffset_ + 2;
  length = frame.bodyLength;
  readOffset_ += 2 + frame.bodyLength;
  return Next::Block;
}

}  // namespace vxa
