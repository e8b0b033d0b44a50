#include "web/wasm/block_gate.h"

#include <algorithm>
#include <utility>

#include "core/format/block_decoder.h"
#include "core/format/header.h"

namespace web {

BlockGate::BlockGate(std::function<bool(const vxa::Block&)> ready,
                     std::function<void(const vxa::Block&)> entering)
    : ready_(std::move(ready)), entering_(std::move(entering)) {}

void BlockGate::take(const uint8_t* data, size_t length, std::vector<uint8_t>& out) {
  if (!headerPassed_) {
    // A header is at most 20 bytes: keep its bytes until the reader has it.
    const size_t keep = std::min(length, size_t{20} - std::min(size_t{20}, headerBytes_.size()));
    headerBytes_.insert(headerBytes_.end(), data, data + keep);
  }
  reader_.append(data, length);
  if (!headerPassed_ && reader_.headerComplete()) {
    headerPassed_ = true;
    out.insert(out.end(), headerBytes_.begin(),
               headerBytes_.begin() + vxa::headerSize(reader_.header().layout));
    headerBytes_.clear();
  }
  passBlocks(out);
}

void BlockGate::retry(std::vector<uint8_t>& out) { passBlocks(out); }

void BlockGate::passBlocks(std::vector<uint8_t>& out) {
  if (!headerPassed_) return;
  const vxa::Layout layout = reader_.header().layout;
  const uint8_t* body = nullptr;
  size_t length = 0;
  for (;;) {
    const vxa::StreamReader::Next next = reader_.next(body, length);
    if (next == vxa::StreamReader::Next::NeedMore) break;
    if (next == vxa::StreamReader::Next::Broken) {
      // The movie must meet the same length that can never complete, to
      // leave the rest out as it would have.
      if (!brokenPassed_) waiting_.push_back(Held{{0x80, 0x00}, {}, false});
      brokenPassed_ = true;
      break;
    }
    Held held{{uint8_t(length >> 8), uint8_t(length)}, {}, false};
    held.bytes.insert(held.bytes.end(), body, body + length);
    vxa::DecodeError error;
    // A block that does not decode needs nothing: the movie leaves it out.
    held.decoded = vxa::decodeBlock(body, length, layout, held.block, error);
    waiting_.push_back(std::move(held));
  }
  while (!waiting_.empty()) {
    Held& first = waiting_.front();
    if (first.decoded && !ready_(first.block)) break;
    if (first.decoded) entering_(first.block);
    out.insert(out.end(), first.bytes.begin(), first.bytes.end());
    waiting_.pop_front();
  }
  // Whatever the blocks behind the first that waits need is asked for now
  // too, so that it all comes at once rather than one block after another.
  for (const Held& held : waiting_) {
    if (held.decoded) ready_(held.block);
  }
}

}  // namespace web
