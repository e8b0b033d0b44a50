#pragma once
// A movie as the plug-in holds it, without anything to draw with: the
// stream taken in chunks of any size, every complete block decoded, checked
// and entered as the plug-in enters it, and the frame and group tables that
// result. The exporters and the web player show movies from it; it reads no
// files and no clock.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/format/block.h"
#include "core/format/header.h"
#include "core/format/stream_reader.h"
#include "core/model/frame_record.h"

namespace vxa {

class MovieModel {
public:
    // Where a block starts in the stream.
    struct Place {
        size_t block = 0;   // counted from 0
        size_t offset = 0;  // of its length field, from the start of the stream
    };
    struct Rejection {
        Place place;
        std::string reason;
    };
    // A repeated item that found nothing to copy in the frame before (it had
    // not arrived, was let go, or has fewer items): it names no group.
    struct EmptyRepeat {
        Place place;
        int16_t frame;
        size_t item;  // from 0
    };

    // The next chunk of the stream: every block it completes is entered.
    void append(const uint8_t* data, size_t length);

    bool headerComplete() const { return reader_.headerComplete(); }
    // The header as stored; meaningful once headerComplete().
    const Header& header() const { return reader_.header(); }
    // The header's settings as playback reads them: a narrow stream neither
    // loops nor waits for a click.
    bool loops() const { return header().layout == Layout::Wide && header().loop != 0; }
    bool waitsForClick() const { return header().layout == Layout::Wide && header().wait != 0; }
    int16_t frameCount() const { return static_cast<int16_t>(frames_.size()); }
    int16_t groupCount() const { return static_cast<int16_t>(groups_.size()); }

    // Null when n is outside the table, or the frame has not arrived or was let go.
    const FrameRecord* frame(int n) const;
    // Null when id is outside the table or the group has not arrived. A group
    // that arrives again is a new object: a pointer held keeps the old one.
    std::shared_ptr<const GroupRecord> group(int id) const;
    // The block that brought the frame or group in the table now.
    std::optional<Place> frameOrigin(int n) const;
    std::optional<Place> groupOrigin(int id) const;
    // A movie that does not loop lets go of the frames it will not show again
    // (a later repeat then finds nothing to copy, as in the plug-in).
    void releaseFrame(int n);

    // Blocks left out, in stream order.
    const std::vector<Rejection>& rejections() const { return rejections_; }
    const std::vector<EmptyRepeat>& emptyRepeats() const { return emptyRepeats_; }
    // A block length of 0x8000 or more was met: nothing after it is read.
    bool broken() const { return broken_; }
    std::optional<Place> brokenAt() const { return broken_ ? std::optional<Place>(next_) : std::nullopt; }
    // Blocks read so far, entered or left out.
    size_t blocksRead() const { return next_.block; }
    // Bytes taken that are not part of a complete block (or header) yet.
    size_t pendingBytes() const { return broken_ ? pendingAtBreak_ : reader_.bufferedBytes(); }
    // Where the next block starts (the pending bytes begin there).
    Place nextPlace() const { return next_; }

private:
    void setUp();
    void enter(const uint8_t* body, size_t length);

    StreamReader reader_;
    bool setUp_ = false;
    bool broken_ = false;
    size_t taken_ = 0;
    size_t pendingAtBreak_ = 0;
    Place next_;
    std::vector<std::optional<FrameRecord>> frames_;
    std::vector<Place> frameOrigins_;
    std::vector<std::shared_ptr<const GroupRecord>> groups_;
    std::vector<Place> groupOrigins_;
    std::vector<Rejection> rejections_;
    std::vector<EmptyRepeat> emptyRepeats_;
};

}  // namespace vxa
