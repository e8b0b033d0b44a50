#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/format/block.h"
#include "core/format/header.h"

namespace vxa {

// A whole stream held in memory, as the vxa tool and the tests see it.
struct Stream {
    Header header;
    std::vector<Block> blocks;
};

// A stream as far as it can be read, damage included: after the header,
// every piece of the stream in order, each either a block that decodes or
// raw bytes that don't: a block whose body does not decode, a block cut off
// by the end of the stream, or a block length of 0x8000 or more together
// with everything after it (no block boundary can be found past it).
struct StreamPiece {
    enum class Kind {
        Block,        // a block that decodes
        Undecodable,  // a whole block whose body does not decode
        Unfinished,   // a block that the end of the stream cuts off
        Unreadable,   // a length of 0x8000 or more, and everything after it
    };
    Kind kind = Kind::Block;
    size_t offset = 0;         // of the piece's first byte (a block length)
    Block block;               // Block
    std::vector<uint8_t> raw;  // otherwise: the bytes as they stand, length included
    size_t damageOffset = 0;   // otherwise: where the fault lies, from the stream's start
    std::string damage;        // otherwise: what it is

    bool decoded() const { return kind == Kind::Block; }
};

struct StreamPieces {
    Header header;
    std::vector<StreamPiece> pieces;
};

// False only when the stream ends inside its header.
bool splitStream(const std::vector<uint8_t>& bytes, StreamPieces& out);

// Decodes a complete stream. On false, `error` names the block (counted from
// 0) and the absolute byte offset of the fault; a stream that ends inside its
// header or a block, or holds a block length of 0x8000 or more, is refused.
bool decodeStream(const std::vector<uint8_t>& bytes, Stream& out, std::string& error);

// Throws std::invalid_argument, naming the block, for content that has no
// exact encoding (see encodeHeader and encodeBlock).
std::vector<uint8_t> encodeStream(const Stream& stream);
// The same with pieces that do not decode written back as they stand.
std::vector<uint8_t> encodeStream(const StreamPieces& stream);

}  // namespace vxa
