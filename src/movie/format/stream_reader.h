#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "movie/format/framing.h"
#include "movie/format/header.h"

namespace vxa {

// Incremental intake of a stream that arrives in chunks of any size: the
// header first, then each complete block body in order.
//
// Every chunk is copied once into one buffer that grows by doubling; blocks
// are handed out as pointers into it and consumed by advancing a read offset.
// When the buffer runs out of room, the consumed prefix is dropped if it is
// more than half the buffer, otherwise the buffer grows; so the total cost is
// linear in the stream's size whatever the chunk sizes. append and next are
// inline because a host may deliver a stream a few bytes at a time.
class StreamReader {
 public:
  enum class Next { Block, NeedMore, Broken };

  // Copies the chunk. Ignored once the reader is broken. Invalidates bodies
  // handed out before.
  void append(const uint8_t* data, size_t length) {
    // Room is left in the buffer only once the header is complete and while
    // the reader is sound, so one comparison decides the common case
    // (length 0 wraps around and goes the slow way too).
    if (length - 1 < buffer_.size() - filled_) {
      // A call to memcpy would cost more than the copy itself for single bytes.
      if (length == 1) {
        buffer_[filled_] = Octet{*data};
      } else {
        std::memcpy(buffer_.data() + filled_, data, length);
      }
      filled_ += length;
      return;
    }
    appendSlowly(data, length);
  }

  bool headerComplete() const { return headerComplete_; }
  // Meaningful once headerComplete().
  const Header& header() const { return header_; }

  // Block: `body` and `length` describe the next block's body, valid until the
  // next append. NeedMore: the header or the next block is not complete yet.
  // Broken: a block length of 0x8000 or more was met; such a block can never
  // complete, so everything buffered is dropped and later chunks are ignored.
  Next next(const uint8_t*& body, size_t& length) {
    const size_t unread = filled_ - readOffset_;
    // A chunk of a few bytes is answered by this one comparison.
    if (unread < needed_) return broken_ ? Next::Broken : Next::NeedMore;
    const uint8_t* start = bytes() + readOffset_;
    const FrameInfo frame = checkFraming(start, unread);
    if (frame.status == Framing::BadLength) return breakDown();
    if (frame.status == Framing::NeedMore) {
      needed_ = 2 + frame.bodyLength;
      return Next::NeedMore;
    }
    body = start + 2;
    length = frame.bodyLength;
    readOffset_ += 2 + frame.bodyLength;
    needed_ = 2;
    return Next::Block;
  }

  bool broken() const { return broken_; }
  // Bytes received and not yet handed out (header included until it is complete).
  size_t bufferedBytes() const { return filled_ - readOffset_; }
  // Memory the buffer holds, consumed part and spare room included.
  size_t reservedBytes() const { return buffer_.capacity(); }

 private:
  // The buffer's element type is not a character type, so that storing a byte
  // into it cannot alias the reader's counters and the compiler may keep them
  // in registers across inlined appends. It is read as bytes.
  enum class Octet : uint8_t {};

  void appendSlowly(const uint8_t* data, size_t length);
  Next breakDown();
  const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(buffer_.data()); }

  // Only the first `filled_` bytes hold stream data; the rest is spare room.
  std::vector<Octet> buffer_;
  size_t filled_ = 0;
  size_t readOffset_ = 0;
  // Unread bytes that next() needs before it can hand out a block: 2 for a
  // length, 2 + L once the length is known, and no count at all until the
  // header is complete or after the reader broke.
  size_t needed_ = SIZE_MAX;
  bool headerComplete_ = false;
  bool broken_ = false;
  Header header_;
};

}  // namespace vxa
