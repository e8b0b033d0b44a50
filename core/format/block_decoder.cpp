#include "core/format/block_decoder.h"

#include <cstring>

#include "core/format/big_endian.h"

namespace vxa {
namespace {

// Decoding a body that may come from anywhere: every read is preceded by a
// check that the bytes are there, and every failure names the record.
class BodyDecoder {
public:
    BodyDecoder(const uint8_t* body, size_t length, Layout layout, DecodeError& error)
        : body_(body), length_(length), wide_(layout == Layout::Wide), error_(error) {}

    bool decode(Block& out) {
        if (length_ > kMaxBodyLength) {
            return fail(0, "body of " + std::to_string(length_) + " bytes exceeds " + std::to_string(kMaxBodyLength));
        }
        out.negativeGroupCount = 0;
        if (!decodeFrame(out.frame)) return false;
        if (!decodeGroups(out)) return false;
        if (offset_ != length_) {
            const size_t extra = length_ - offset_;
            return fail(offset_, std::to_string(extra) + (extra == 1 ? " byte" : " bytes") +
                                     " left over after the last group record");
        }
        return true;
    }

private:
    bool has(size_t count) const { return count <= length_ - offset_; }
    uint8_t byte() { return body_[offset_++]; }
    int16_t word() {
        const int16_t value = readBigEndian16(body_ + offset_);
        offset_ += 2;
        return value;
    }
    // A count that is one byte narrow and a signed 16-bit value wide.
    int count() { return wide_ ? word() : byte(); }
    size_t countSize() const { return wide_ ? 2 : 1; }

    bool fail(size_t offset, std::string message) {
        error_.offset = offset;
        error_.message = std::move(message);
        return false;
    }
    bool runsPast(const std::string& what) { return fail(offset_, what + " runs past the end of the block"); }

    static std::string frameName(int16_t number) { return "frame " + std::to_string(number); }
    static std::string objectName(size_t index, int16_t groupId) {
        return "object " + std::to_string(index) + " in group " + std::to_string(groupId);
    }

    bool decodeFrame(FramePart& frame) {
        if (!has(2)) return runsPast("frame number");
        frame.number = word();
        frame.filler = 0;
        frame.soundNumber = 0;
        frame.flag = 0;
        if (frame.number == 0) {
            frame.items.clear();
            if (!has(1)) return runsPast("filler byte of frame 0");
            frame.filler = byte();
            return true;
        }
        if (!has(wide_ ? 4 : 1)) {
            frame.items.clear();
            return runsPast("item count of " + frameName(frame.number));
        }
        const uint8_t itemCount = byte();
        if (wide_) {
            frame.soundNumber = word();
            frame.flag = byte();
        }
        frame.items.resize(itemCount);
        for (size_t i = 0; i < itemCount; ++i) {
            Item& item = frame.items[i];
            const size_t start = offset_;
            if (!has(1)) return runsPast("item " + std::to_string(i) + " of " + frameName(frame.number));
            item.presence = byte();
            if (item.presence == 0) {
                item = Item{0, 0, 0, 0, 0, 0, 0};
                continue;
            }
            if (!has(wide_ ? 10 : 8)) {
                offset_ = start;
                return runsPast("item " + std::to_string(i) + " of " + frameName(frame.number));
            }
            item.flag = byte();
            item.groupId = word();
            item.x = word();
            item.y = word();
            item.mode = byte();
            item.extra = wide_ ? word() : 0;
        }
        return true;
    }

    bool decodeGroups(Block& block) {
        std::vector<GroupRecord>& groups = block.groups;
        if (!has(countSize())) {
            groups.clear();
            return runsPast("group record count");
        }
        const int groupCount = count();
        if (groupCount < 0) {
            // No group records; the stored value is kept so the block encodes back
            // to the same bytes.
            groups.clear();
            block.negativeGroupCount = static_cast<int16_t>(groupCount);
            return true;
        }
        // Records left from an earlier block are overwritten, so that a decoder's
        // output reused block after block keeps its memory: in the long run no
        // record allocates.
        groups.resize(static_cast<size_t>(groupCount));
        for (size_t g = 0; g < groups.size(); ++g) {
            if (!decodeGroup(g, groups[g])) return false;
        }
        return true;
    }

    bool decodeGroup(size_t index, GroupRecord& group) {
        if (!has(2 + 1 + countSize() + 2)) return runsPast("group record " + std::to_string(index));
        group.id = word();
        group.color = byte();
        const size_t countOffset = offset_;
        const int objectCount = count();
        group.widthMinus1 = byte();
        group.heightMinus1 = byte();
        if (objectCount < 0) {
            group.objects.clear();
            return fail(countOffset, "object count " + std::to_string(objectCount) + " of group " +
                                         std::to_string(group.id) + " is negative");
        }
        group.objects.resize(static_cast<size_t>(objectCount));
        for (size_t j = 0; j < group.objects.size(); ++j) {
            if (!decodeObject(j, group.id, group.objects[j])) return false;
        }
        return true;
    }

    bool decodeObject(size_t index, int16_t groupId, ObjectRecord& object) {
        if (!has(13)) return runsPast(objectName(index, groupId));
        object.kind = static_cast<int8_t>(byte());
        object.left = byte();
        object.top = byte();
        object.right = byte();
        object.bottom = byte();
        object.fill1 = byte();
        object.fill2 = byte();
        object.line1 = byte();
        object.line2 = byte();
        object.fillPattern = byte();
        object.linePattern = byte();
        object.lineWidth = byte();
        object.reserved = byte();
        // Payload fields this kind doesn't set keep their defaults, whatever an
        // earlier block left in this record.
        object.points.clear();
        object.cornerWidth = object.cornerHeight = 0;
        object.sweep = object.startAngle = 0;
        object.textColor = object.style = object.size = 0;
        object.justification = 0;
        object.fontName.clear();
        object.text.clear();
        object.skipped.clear();

        switch (object.kind) {
            case ObjectKind::Polygon: {
                if (!has(2)) return runsPast("point count of " + objectName(index, groupId));
                const size_t countOffset = offset_;
                const int16_t pointCount = word();
                if (pointCount < 0) {
                    return fail(countOffset, "point count " + std::to_string(pointCount) + " of " +
                                                 objectName(index, groupId) + " is negative");
                }
                if (!has(2 * static_cast<size_t>(pointCount))) {
                    return fail(offset_, "points of " + objectName(index, groupId) + " run past the end of the block");
                }
                object.points.resize(static_cast<size_t>(pointCount));
                for (auto& point : object.points) {
                    point.first = byte();
                    point.second = byte();
                }
                return true;
            }
            case ObjectKind::RoundRect:
                if (!has(2)) return runsPast("corner size of " + objectName(index, groupId));
                object.cornerWidth = byte();
                object.cornerHeight = byte();
                return true;
            case ObjectKind::Arc:
                if (!has(4)) return runsPast("angles of " + objectName(index, groupId));
                object.sweep = word();
                object.startAngle = word();
                return true;
            case ObjectKind::Text:
                if (!has(4)) return runsPast("text attributes of " + objectName(index, groupId));
                object.textColor = byte();
                object.style = byte();
                object.size = byte();
                object.justification = static_cast<int8_t>(byte());
                return readString(object.fontName, "font name of ", index, groupId) &&
                       readString(object.text, "text of ", index, groupId);
            case ObjectKind::Comment: return readString(object.skipped, "comment of ", index, groupId);
            default:
                // Lines, ovals, rectangles and kinds this format does not know carry no payload.
                return true;
        }
    }

    // A string runs up to its NUL, which it consumes. Its length with the NUL is
    // bounded by the body limit checked up front, so it always fits 16 bits.
    bool readString(std::string& out, const char* what, size_t index, int16_t groupId) {
        const void* nul = std::memchr(body_ + offset_, 0, length_ - offset_);
        if (nul == nullptr) return runsPast(what + objectName(index, groupId));
        const auto stringLength = static_cast<size_t>(static_cast<const uint8_t*>(nul) - (body_ + offset_));
        out.assign(reinterpret_cast<const char*>(body_ + offset_), stringLength);
        offset_ += stringLength + 1;
        return true;
    }

    const uint8_t* body_;
    size_t length_;
    bool wide_;
    DecodeError& error_;
    size_t offset_ = 0;
};

}  // namespace

bool decodeBlock(const uint8_t* body, size_t length, Layout layout, Block& out, DecodeError& error) {
    return BodyDecoder(body, length, layout, error).decode(out);
}

}  // namespace vxa
