#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/format/framing.h"
#include "core/format/header.h"

namespace vxa {

// Incremental intake of a stream that arrives in chunks of any size: the
// header first, then each complete block body in order.
//
// A chunk is read where it lies. lend() shows the reader a chunk, next()
// hands out every block that is whole in it as a pointer into it, and
// keepUnread() copies what next() has not handed out, which after next() said
// NeedMore is at most one incomplete block. Only those bytes outlive the
// chunk: a block that straddles chunks is gathered in the reader's own buffer,
// and nothing else is ever copied. Once the buffer holds nothing, memory above
// the largest block is given back, so a stream taken whole leaves nothing
// behind. The paths a chunk of a few bytes takes are inline: a host may
// deliver a stream one byte at a time.
class StreamReader {
public:
    enum class Next { Block, NeedMore, Broken };

    // Shows the reader a chunk, which must stay unchanged until keepUnread() or
    // the next lend() or append(). Whatever an earlier chunk left unread is kept
    // first, so the stream's order holds. Ignored once the reader is broken.
    // False when the chunk only added to an incomplete block the reader
    // gathers, which it then holds: there is nothing to read and nothing to
    // keep, and next() would say NeedMore. Throws std::bad_alloc when bytes to
    // keep can't be.
    bool lend(const uint8_t* data, size_t length) {
        // Room for the whole block was made when its length became known. A
        // chunk that completes the block goes the slow way, as does one of 0
        // bytes (which wraps around).
        if (length - 1 < roomBeforeWhole_) {
            if (length == 1) {
                buffer_[filled_] = Octet{*data};
            } else {
                std::memcpy(buffer_.get() + filled_, data, length);
            }
            filled_ += length;
            roomBeforeWhole_ -= length;
            return false;
        }
        lendSlowly(data, length);
        return true;
    }

    // Copies the unread part of the lent chunk into the reader's buffer; the
    // chunk may then go away. Throws std::bad_alloc when it can't.
    void keepUnread() {
        if (lent_ != lentEnd_) keepSlowly();
    }

    // lend() and keepUnread(): for a chunk whose bytes don't outlive the call.
    void append(const uint8_t* data, size_t length) {
        lend(data, length);
        keepUnread();
    }

    bool headerComplete() const { return headerComplete_; }
    // Meaningful once headerComplete().
    const Header& header() const { return header_; }

    // Block: `body` and `length` describe the next block's body, valid until the
    // reader is called again or the lent chunk goes away. NeedMore: the header
    // or the next block is not complete yet. Broken: a block length of 0x8000
    // or more was met; such a block can never complete, so everything buffered
    // is dropped and later chunks are ignored.
    Next next(const uint8_t*& body, size_t& length) {
        // While the buffer gathers a block that lacks more than a byte, this one
        // comparison answers.
        if (roomBeforeWhole_ > 0) return Next::NeedMore;
        return nextSlowly(body, length);
    }

    bool broken() const { return broken_; }
    // Bytes received and not yet handed out, kept or lent (the header's
    // included until it is complete).
    size_t bufferedBytes() const { return filled_ - read_ + static_cast<size_t>(lentEnd_ - lent_); }
    // Memory the buffer holds, handed-out part and spare room included.
    size_t reservedBytes() const { return capacity_; }

private:
    // The buffer's element type is not a character type, so that storing a byte
    // into it cannot alias the reader's counters and the compiler may keep them
    // in registers across inlined calls. It is read as bytes.
    enum class Octet : uint8_t {};

    void lendSlowly(const uint8_t* data, size_t length);
    void keepSlowly();
    Next nextSlowly(const uint8_t*& body, size_t& length);
    Next breakDown();
    // Forgets what was handed out from the buffer, and gives back memory above
    // the largest block once the buffer holds nothing.
    void settle();
    // Room for `more` bytes after the unread ones.
    void makeRoom(size_t more);
    void gather(const uint8_t* data, size_t length);
    // Makes room for the rest of the incomplete block the buffer holds, which
    // later chunks then add to by the inline path.
    Next awaitRest();
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(buffer_.get()); }
    void release();

    // The reader's own bytes: [read_, filled_) come before the lent chunk in
    // the stream.
    std::unique_ptr<Octet[]> buffer_;
    size_t capacity_ = 0;
    size_t filled_ = 0;
    size_t read_ = 0;
    // The unread part of the lent chunk.
    const uint8_t* lent_ = nullptr;
    const uint8_t* lentEnd_ = nullptr;
    // Unread bytes that next() needs before the next block is whole: 2 for a
    // length, 2 + L once the length is known, and no count at all until the
    // header is complete or after the reader broke.
    size_t needed_ = SIZE_MAX;
    // Bytes that lend() may copy straight into the buffer without completing
    // the block gathered there: one less than the block lacks, with room made
    // for them. 0 whenever a chunk is lent, the block is whole or there is none.
    size_t roomBeforeWhole_ = 0;
    bool headerComplete_ = false;
    bool broken_ = false;
    Header header_;
};

}  // namespace vxa
