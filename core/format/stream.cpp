#include "core/format/stream.h"

#include <stdexcept>

#include "core/format/block_decoder.h"
#include "core/format/block_encoder.h"
#include "core/format/framing.h"

namespace vxa {

bool splitStream(const std::vector<uint8_t>& bytes, StreamPieces& out) {
    out.pieces.clear();
    if (decodeHeader(bytes.data(), bytes.size(), out.header) != HeaderStatus::Complete) return false;
    size_t offset = headerSize(out.header.layout);
    while (offset < bytes.size()) {
        StreamPiece piece;
        piece.offset = offset;
        const size_t available = bytes.size() - offset;
        const FrameInfo frame = checkFraming(bytes.data() + offset, available);
        size_t end = offset + 2 + frame.bodyLength;
        DecodeError decodeError;
        if (frame.status == Framing::BadLength) {
            piece.kind = StreamPiece::Kind::Unreadable;
            piece.damageOffset = offset;
            piece.damage = "length " + std::to_string(frame.bodyLength) + " is 32768 or more";
            end = bytes.size();
        } else if (frame.status == Framing::NeedMore) {
            piece.kind = StreamPiece::Kind::Unfinished;
            piece.damageOffset = offset;
            piece.damage = "the stream ends inside the block (" +
                           (available < 2 ? std::string("its length is cut off")
                                          : std::to_string(available - 2) + " of " + std::to_string(frame.bodyLength) +
                                                " body bytes present") +
                           ")";
            end = bytes.size();
        } else if (!decodeBlock(bytes.data() + offset + 2, frame.bodyLength, out.header.layout, piece.block,
                                decodeError)) {
            piece.kind = StreamPiece::Kind::Undecodable;
            piece.damageOffset = offset + 2 + decodeError.offset;
            piece.damage = decodeError.message;
        }
        if (!piece.decoded()) {
            piece.block = Block();
            piece.raw.assign(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                             bytes.begin() + static_cast<std::ptrdiff_t>(end));
        }
        out.pieces.push_back(std::move(piece));
        offset = end;
    }
    return true;
}

bool decodeStream(const std::vector<uint8_t>& bytes, Stream& out, std::string& error) {
    out.blocks.clear();
    StreamPieces pieces;
    if (!splitStream(bytes, pieces)) {
        error = "the stream ends inside its header (" + std::to_string(bytes.size()) + " bytes)";
        return false;
    }
    out.header = pieces.header;
    for (size_t i = 0; i < pieces.pieces.size(); ++i) {
        StreamPiece& piece = pieces.pieces[i];
        if (!piece.decoded()) {
            error =
                "block " + std::to_string(i) + " at byte " + std::to_string(piece.damageOffset) + ": " + piece.damage;
            out.blocks.clear();
            return false;
        }
        out.blocks.push_back(std::move(piece.block));
    }
    return true;
}

namespace {

void encodeHeaderNamed(const Header& header, std::vector<uint8_t>& bytes) {
    try {
        encodeHeader(header, bytes);
    } catch (const std::invalid_argument& e) {
        throw std::invalid_argument(std::string("header: ") + e.what());
    }
}

void encodeBlockNamed(const Block& block, Layout layout, size_t index, std::vector<uint8_t>& bytes) {
    try {
        encodeBlock(block, layout, bytes);
    } catch (const std::invalid_argument& e) {
        throw std::invalid_argument("block " + std::to_string(index) + ": " + e.what());
    }
}

}  // namespace

std::vector<uint8_t> encodeStream(const Stream& stream) {
    std::vector<uint8_t> bytes;
    encodeHeaderNamed(stream.header, bytes);
    for (size_t i = 0; i < stream.blocks.size(); ++i)
        encodeBlockNamed(stream.blocks[i], stream.header.layout, i, bytes);
    return bytes;
}

std::vector<uint8_t> encodeStream(const StreamPieces& stream) {
    std::vector<uint8_t> bytes;
    encodeHeaderNamed(stream.header, bytes);
    for (size_t i = 0; i < stream.pieces.size(); ++i) {
        const StreamPiece& piece = stream.pieces[i];
        if (piece.decoded()) {
            encodeBlockNamed(piece.block, stream.header.layout, i, bytes);
        } else {
            bytes.insert(bytes.end(), piece.raw.begin(), piece.raw.end());
        }
    }
    return bytes;
}

}  // namespace vxa
