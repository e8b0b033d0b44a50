#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "movie/format/block.h"
#include "movie/format/header.h"

namespace vxa {

// A whole stream held in memory, as the vxa tool and the tests see it.
struct Stream {
  Header header;
  std::vector<Block> blocks;
};

// Decodes a complete stream. On false, `error` names the block (counted from
// 0) and the absolute byte offset of the fault; a stream that ends inside its
// header or a block, or holds a block length of 0x8000 or more, is refused.
bool decodeStream(const std::vector<uint8_t>& bytes, Stream& out, std::string& error);

// Throws std::invalid_argument, naming the block, for content that has no
// exact encoding (see encodeHeader and encodeBlock).
std::vector<uint8_t> encodeStream(const Stream& stream);

}  // namespace vxa
