#include "movie/format/stream.h"

#include <stdexcept>

#include "movie/format/block_decoder.h"
#include "movie/format/block_encoder.h"
#include "movie/format/framing.h"

namespace vxa {

bool decodeStream(const std::vector<uint8_t>& bytes, Stream& out, std::string& error) {
  out.blocks.clear();
  if (decodeHeader(bytes.data(), bytes.size(), out.header) != HeaderStatus::Complete) {
    error = "the stream ends inside its header (" + std::to_string(bytes.size()) + " bytes)";
    return false;
  }
  size_t offset = headerSize(out.header.layout);
  while (offset < bytes.size()) {
    const std::string where =
        "block " + std::to_string(out.blocks.size()) + " at byte " + std::to_string(offset) + ": ";
    const size_t available = bytes.size() - offset;
    const FrameInfo frame = checkFraming(bytes.data() + offset, available);
    if (frame.status == Framing::BadLength) {
      error = where + "length " + std::to_string(frame.bodyLength) + " is 32768 or more";
      return false;
    }
    if (frame.status == Framing::NeedMore) {
      error = where + "the stream ends inside the block (" +
              (available < 2 ? std::string("its length is cut off")
                             : std::to_string(available - 2) + " of " +
                                   std::to_string(frame.bodyLength) + " body bytes present") +
              ")";
      return false;
    }
    Block block;
    DecodeError decodeError;
    if (!decodeBlock(bytes.data() + offset + 2, frame.bodyLength, out.header.layout, block,
                     decodeError)) {
      error = "block " + std::to_string(out.blocks.size()) + " at byte " +
              std::to_string(offset + 2 + decodeError.offset) + ": " + decodeError.message;
      return false;
    }
    out.blocks.push_back(std::move(block));
    offset += 2 + frame.bodyLength;
  }
  return true;
}

std::vector<uint8_t> encodeStream(const Stream& stream) {
  std::vector<uint8_t> bytes;
  try {
    encodeHeader(stream.header, bytes);
  } catch (const std::invalid_argument& e) {
    throw std::invalid_argument(std::string("header: ") + e.what());
  }
  for (size_t i = 0; i < stream.blocks.size(); ++i) {
    try {
      encodeBlock(stream.blocks[i], stream.header.layout, bytes);
    } catch (const std::invalid_argument& e) {
      throw std::invalid_argument("block " + std::to_string(i) + ": " + e.what());
    }
  }
  return bytes;
}

}  // namespace vxa
