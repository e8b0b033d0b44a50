#pragma once
// Holds back the blocks of a stream whose drawing or sound needs a file the
// page has not fetched yet (a font for its text, the sound its frame names),
// and lets them through, in stream order, once the file has arrived or is
// known to be missing. To the movie behind it, a held block is simply data
// that has not arrived yet, which it waits for as it waits for the network:
// so no frame is ever shown without its text or without its sound.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "core/format/block.h"
#include "core/format/stream_reader.h"

namespace web {

class BlockGate {
 public:
  // ready(block): whether everything the block needs is at hand; it asks
  // for whatever is not. It may be called for a block more than once.
  // entering(block): the block is let through, once.
  BlockGate(std::function<bool(const vxa::Block&)> ready,
            std::function<void(const vxa::Block&)> entering);

  // Takes a chunk of the stream and appends to `out` the bytes the movie may
  // take now: the header, and every block up to the first that waits.
  void take(const uint8_t* data, size_t length, std::vector<uint8_t>& out);
  // After a file arrived: appends the blocks that need wait no longer.
  void retry(std::vector<uint8_t>& out);

  bool holding() const { return !waiting_.empty(); }

 private:
  struct Held {
    std::vector<uint8_t> bytes;  // length field and body, as in the stream
    vxa::Block block;
    bool decoded;
  };

  void passBlocks(std::vector<uint8_t>& out);

  std::function<bool(const vxa::Block&)> ready_;
  std::function<void(const vxa::Block&)> entering_;
  vxa::StreamReader reader_;
  std::vector<uint8_t> headerBytes_;
  bool headerPassed_ = false;
  bool brokenPassed_ = false;
  std::deque<Held> waiting_;
};

}  // namespace web
