// libFuzzer target for the stream format.
//
// The first input byte chooses what the rest is: bit 1 clear, one block body
// (bit 0 picks the narrow layout); bit 1 set, a whole stream fed to a
// StreamReader in chunks whose sizes come from the remaining bits. Properties
// checked beyond memory safety:
//   - a body that decodeBlock accepts encodes back to exactly its bytes;
//   - any chunking yields the same bodies as one chunk, and decodeStream agrees;
//   - after each chunk the reader keeps at most one incomplete block.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/format/block_decoder.h"
#include "core/format/block_encoder.h"
#include "core/format/range_check.h"
#include "core/format/stream.h"
#include "core/format/stream_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

void require(bool condition) {
  if (!condition) std::abort();
}

void checkBody(const uint8_t* body, size_t length, vxa::Layout layout) {
  vxa::Block block;
  vxa::DecodeError error;
  if (!vxa::decodeBlock(body, length, layout, block, error)) {
    require(error.offset <= length && !error.message.empty());
    return;
  }
  Bytes encoded;
  vxa::encodeBlock(block, layout, encoded);
  require(encoded.size() == length + 2);
  require(std::memcmp(encoded.data() + 2, body, length) == 0);
  (void)vxa::checkRanges(block, 10, 10);
}

struct Intake {
  std::vector<Bytes> bodies;
  vxa::StreamReader::Next last = vxa::StreamReader::Next::NeedMore;
};

Intake feed(const uint8_t* data, size_t size, uint32_t seed) {
  vxa::StreamReader reader;
  Intake intake;
  uint32_t state = seed | 1;
  size_t position = 0;
  do {
    state = state * 1103515245u + 12345u;
    size_t chunk = seed == 0 ? size : 1 + (state >> 16) % (1 + (seed & 0x3F) * 4);
    if (chunk > size - position) chunk = size - position;
    // An exact copy, read in place and freed once its rest is kept, so that a
    // read past the chunk or after it is gone is caught.
    const Bytes copy(data + position, data + position + chunk);
    reader.lend(copy.data(), copy.size());
    position += chunk;
    const uint8_t* body = nullptr;
    size_t length = 0;
    while ((intake.last = reader.next(body, length)) == vxa::StreamReader::Next::Block) {
      intake.bodies.emplace_back(body, body + length);
      checkBody(body, length, reader.header().layout);
    }
    reader.keepUnread();
    if (intake.last == vxa::StreamReader::Next::Broken) require(reader.bufferedBytes() == 0);
    // What is kept, and the memory held for it, is at most one block.
    require(reader.reservedBytes() <= 2 + vxa::kMaxBodyLength);
  } while (position < size);
  return intake;
}

void checkStream(const uint8_t* data, size_t size, uint32_t seed) {
  const Intake whole = feed(data, size, 0);
  const Intake chunked = feed(data, size, seed);
  require(whole.bodies == chunked.bodies);
  require(whole.last == chunked.last);

  vxa::Stream stream;
  std::string error;
  if (vxa::decodeStream(Bytes(data, data + size), stream, error)) {
    require(stream.blocks.size() == whole.bodies.size());
    require(whole.last == vxa::StreamReader::Next::NeedMore);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  if ((selector & 2) == 0) {
    checkBody(data + 1, size - 1, (selector & 1) != 0 ? vxa::Layout::Narrow : vxa::Layout::Wide);
  } else {
    checkStream(data + 1, size - 1, 1u + (selector >> 2));
  }
  return 0;
}
