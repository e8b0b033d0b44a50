#include "core/format/stream_reader.h"

#include <algorithm>

namespace vxa {
namespace {

// The most a block takes: its length field and the longest body.
constexpr size_t kLargestBlock = kLengthFieldSize + kMaxBodyLength;

}  // namespace

void StreamReader::lendSlowly(const uint8_t* data, size_t length) {
    if (broken_) return;
    keepUnread();
    settle();
    roomBeforeWhole_ = 0;
    // The header, at most 20 bytes, is gathered a byte at a time until it
    // reads as complete: the rest of the chunk is the stream's blocks.
    while (!headerComplete_ && length > 0) {
        gather(data, 1);
        ++data;
        --length;
        if (decodeHeader(bytes() + read_, filled_ - read_, header_) == HeaderStatus::Complete) {
            // The buffer held only the header.
            headerComplete_ = true;
            release();
            needed_ = 2;
        }
    }
    lent_ = data;
    lentEnd_ = data + length;
}

void StreamReader::keepSlowly() {
    gather(lent_, static_cast<size_t>(lentEnd_ - lent_));
    lent_ = lentEnd_ = nullptr;
    if (headerComplete_) awaitRest();
}

StreamReader::Next StreamReader::nextSlowly(const uint8_t*& body, size_t& length) {
    if (broken_) return Next::Broken;
    if (!headerComplete_) return Next::NeedMore;
    settle();
    for (;;) {
        const size_t kept = filled_ - read_;
        if (kept == 0 && lent_ != lentEnd_) {
            // Nothing gathered: the block is read where the chunk holds it.
            const FrameInfo frame = checkFraming(lent_, static_cast<size_t>(lentEnd_ - lent_));
            if (frame.status == Framing::BadLength) return breakDown();
            if (frame.status == Framing::NeedMore) {
                // keepUnread() gathers it.
                needed_ = 2 + frame.bodyLength;
                return Next::NeedMore;
            }
            body = lent_ + 2;
            length = frame.bodyLength;
            lent_ += 2 + frame.bodyLength;
            needed_ = 2;
            return Next::Block;
        }
        if (kept >= needed_) {
            const FrameInfo frame = checkFraming(bytes() + read_, kept);
            if (frame.status == Framing::BadLength) return breakDown();
            if (frame.status == Framing::Complete) {
                body = bytes() + read_ + 2;
                length = frame.bodyLength;
                read_ += 2 + frame.bodyLength;
                needed_ = 2;
                roomBeforeWhole_ = 0;
                return Next::Block;
            }
            needed_ = 2 + frame.bodyLength;
            continue;
        }
        if (lent_ == lentEnd_) return awaitRest();
        // A block begun in an earlier chunk: complete it from this one.
        const size_t taken = std::min(needed_ - kept, static_cast<size_t>(lentEnd_ - lent_));
        gather(lent_, taken);
        lent_ += taken;
    }
}

StreamReader::Next StreamReader::awaitRest() {
    const size_t kept = filled_ - read_;
    roomBeforeWhole_ = 0;
    if (kept == 0 || kept >= needed_) return Next::NeedMore;
    makeRoom(needed_ - kept);
    roomBeforeWhole_ = needed_ - kept - 1;
    return Next::NeedMore;
}

void StreamReader::settle() {
    if (read_ != filled_) return;
    read_ = filled_ = 0;
    if (capacity_ > kLargestBlock) release();
}

void StreamReader::makeRoom(size_t more) {
    if (more <= capacity_ - filled_) return;
    const size_t unread = filled_ - read_;
    if (read_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + read_, unread);
        filled_ = unread;
        read_ = 0;
    }
    if (more <= capacity_ - filled_) return;
    // Exactly what is asked for: the buffer holds no more than the bytes it
    // must keep (a header is gathered in one go of 32).
    const size_t capacity = std::max(filled_ + more, size_t{32});
    std::unique_ptr<Octet[]> larger(new Octet[capacity]);
    if (unread > 0) std::memcpy(larger.get(), buffer_.get(), unread);
    buffer_ = std::move(larger);
    capacity_ = capacity;
}

void StreamReader::gather(const uint8_t* data, size_t length) {
    if (length == 0) return;
    makeRoom(length);
    std::memcpy(buffer_.get() + filled_, data, length);
    filled_ += length;
}

void StreamReader::release() {
    buffer_.reset();
    capacity_ = filled_ = read_ = 0;
}

StreamReader::Next StreamReader::breakDown() {
    broken_ = true;
    needed_ = SIZE_MAX;
    roomBeforeWhole_ = 0;
    release();
    lent_ = lentEnd_ = nullptr;
    return Next::Broken;
}

}  // namespace vxa
