#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "movie/format/header.h"

namespace vxa {

// Incremental intake of a stream that arrives in chunks of any size: the
// header first, then each complete block body in order.
//
// Every chunk is copied once into one growing buffer; blocks are handed out
// as pointers into it and consumed by advancing a read offset. The consumed
// prefix is dropped only when it is more than half the buffer, so the total
// cost is linear in the stream's size whatever the chunk sizes.
class StreamReader {
 public:
  enum class Next { Block, NeedMore, Broken };

  // Copies the chunk. Ignored once the reader is broken. Invalidates bodies
  // handed out before.
  void append(const uint8_t* data, size_t length);

  bool headerComplete() const { return headerComplete_; }
  // Meaningful once headerComplete().
  const Header& header() const { return header_; }

  // Block: `body` and `length` describe the next block's body, valid until the
  // next append. NeedMore: the header or the next block is not complete yet.
  // Broken: a block length of 0x8000 or more was met; such a block can never
  // complete, so everything buffered is dropped and later chunks are ignored.
  Next next(const uint8_t*& body, size_t& length);

  bool broken() const { return broken_; }
  // Bytes received and not yet handed out (header included until it is complete).
  size_t bufferedBytes() const { return buffer_.size() - readOffset_; }
  // Memory the buffer holds, consumed part and spare capacity included.
  size_t reservedBytes() const { return buffer_.capacity(); }

 private:
  std::vector<uint8_t> buffer_;
  size_t readOffset_ = 0;
  bool headerComplete_ = false;
  bool broken_ = false;
  Header header_;
};

}  // namespace vxa
