#include "movie/format/framing.h"

#include "movie/format/big_endian.h"

namespace vxa {

FrameInfo inspectFrame(const uint8_t* data, size_t available) {
  if (available < 2) return {Framing::NeedMore, 0};
  const int16_t length = readBigEndian16(data);
  if (length < 0) return {Framing::BadLength, static_cast<uint16_t>(length)};
  const auto bodyLength = static_cast<size_t>(length);
  if (available - 2 < bodyLength) return {Framing::NeedMore, bodyLength};
  return {Framing::Complete, bodyLength};
}

}  // namespace vxa
