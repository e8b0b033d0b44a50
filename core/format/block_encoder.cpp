#include "core/format/block_encoder.h"

#include <stdexcept>
#include <string>

#include "core/format/big_endian.h"

namespace vxa {
namespace {

[[noreturn]] void refuse(const std::string& message) { throw std::invalid_argument(message); }

std::string frameName(int16_t number) { return "frame " + std::to_string(number); }
std::string objectName(size_t index, int16_t groupId) {
    return "object " + std::to_string(index) + " in group " + std::to_string(groupId);
}

bool hasPayloadOtherThan(const ObjectRecord& o, int8_t kind) {
    const bool polygon = !o.points.empty();
    const bool roundRect = o.cornerWidth != 0 || o.cornerHeight != 0;
    const bool arc = o.sweep != 0 || o.startAngle != 0;
    const bool text = o.textColor != 0 || o.style != 0 || o.size != 0 || o.justification != 0 || !o.fontName.empty() ||
                      !o.text.empty();
    const bool comment = !o.skipped.empty();
    return (polygon && kind != ObjectKind::Polygon) || (roundRect && kind != ObjectKind::RoundRect) ||
           (arc && kind != ObjectKind::Arc) || (text && kind != ObjectKind::Text) ||
           (comment && kind != ObjectKind::Comment);
}

class BodyEncoder {
public:
    BodyEncoder(Layout layout, std::vector<uint8_t>& out) : wide_(layout == Layout::Wide), out_(out) {}

    void encode(const Block& block) {
        encodeFrame(block.frame);
        if (block.negativeGroupCount != 0) {
            if (block.negativeGroupCount > 0 || !wide_ || !block.groups.empty()) {
                refuse("a negative group record count is a wide block's, without group records, and below 0");
            }
            word(block.negativeGroupCount);
            return;
        }
        putCount(block.groups.size(), "group record count");
        for (size_t g = 0; g < block.groups.size(); ++g) encodeGroup(block.groups[g]);
    }

private:
    void byte(uint8_t value) { out_.push_back(value); }
    void word(int16_t value) { appendBigEndian16(out_, value); }
    size_t countLimit() const { return wide_ ? kWideCountLimit : kNarrowCountLimit; }
    // `owner` follows the number in the message: "object count 300 of group 2".
    void putCount(size_t count, const std::string& what, const std::string& owner = "") {
        if (count > countLimit()) {
            refuse(what + " " + std::to_string(count) + owner + " exceeds " + std::to_string(countLimit()));
        }
        if (wide_) {
            word(static_cast<int16_t>(count));
        } else {
            byte(static_cast<uint8_t>(count));
        }
    }

    void encodeFrame(const FramePart& frame) {
        word(frame.number);
        if (frame.number == 0) {
            if (!frame.items.empty() || frame.soundNumber != 0 || frame.flag != 0) {
                refuse("frame 0 stores only its filler byte, not items, a sound or a flag");
            }
            byte(frame.filler);
            return;
        }
        if (frame.filler != 0) refuse(frameName(frame.number) + " stores no filler byte");
        if (frame.items.size() > 255) {
            refuse("item count " + std::to_string(frame.items.size()) + " of " + frameName(frame.number) +
                   " exceeds 255");
        }
        byte(static_cast<uint8_t>(frame.items.size()));
        if (wide_) {
            word(frame.soundNumber);
            byte(frame.flag);
        } else if (frame.soundNumber != 0 || frame.flag != 0) {
            refuse("the narrow layout stores no sound number or flag for " + frameName(frame.number));
        }
        for (size_t i = 0; i < frame.items.size(); ++i) {
            const Item& item = frame.items[i];
            const std::string name = "item " + std::to_string(i) + " of " + frameName(frame.number);
            byte(item.presence);
            if (item.presence == 0) {
                if (item.flag != 0 || item.groupId != 0 || item.x != 0 || item.y != 0 || item.mode != 0 ||
                    item.extra != 0) {
                    refuse(name + " is a repeat, which stores no other field");
                }
                continue;
            }
            byte(item.flag);
            word(item.groupId);
            word(item.x);
            word(item.y);
            byte(item.mode);
            if (wide_) {
                word(item.extra);
            } else if (item.extra != 0) {
                refuse("the narrow layout stores no extra value for " + name);
            }
        }
    }

    void encodeGroup(const GroupRecord& group) {
        word(group.id);
        byte(group.color);
        putCount(group.objects.size(), "object count", " of group " + std::to_string(group.id));
        byte(group.widthMinus1);
        byte(group.heightMinus1);
        for (size_t j = 0; j < group.objects.size(); ++j) {
            encodeObject(group.objects[j], objectName(j, group.id));
        }
    }

    void encodeObject(const ObjectRecord& o, const std::string& name) {
        if (hasPayloadOtherThan(o, o.kind)) {
            refuse(name + " of kind " + std::to_string(o.kind) + " carries fields of another kind");
        }
        byte(static_cast<uint8_t>(o.kind));
        for (uint8_t value : {o.left, o.top, o.right, o.bottom, o.fill1, o.fill2, o.line1, o.line2, o.fillPattern,
                              o.linePattern, o.lineWidth, o.reserved}) {
            byte(value);
        }
        switch (o.kind) {
            case ObjectKind::Polygon:
                if (o.points.size() > kWideCountLimit) {
                    refuse("point count " + std::to_string(o.points.size()) + " of " + name + " exceeds 32767");
                }
                word(static_cast<int16_t>(o.points.size()));
                for (const auto& point : o.points) {
                    byte(point.first);
                    byte(point.second);
                }
                break;
            case ObjectKind::RoundRect:
                byte(o.cornerWidth);
                byte(o.cornerHeight);
                break;
            case ObjectKind::Arc:
                word(o.sweep);
                word(o.startAngle);
                break;
            case ObjectKind::Text:
                byte(o.textColor);
                byte(o.style);
                byte(o.size);
                byte(static_cast<uint8_t>(o.justification));
                string(o.fontName, "font name of " + name);
                string(o.text, "text of " + name);
                break;
            case ObjectKind::Comment: string(o.skipped, "comment of " + name); break;
            default: break;
        }
    }

    void string(const std::string& value, const std::string& what) {
        if (value.find('\0') != std::string::npos) refuse(what + " holds a NUL byte");
        out_.insert(out_.end(), value.begin(), value.end());
        out_.push_back(0);
    }

    bool wide_;
    std::vector<uint8_t>& out_;
};

}  // namespace

void encodeBlock(const Block& block, Layout layout, std::vector<uint8_t>& out) {
    const size_t start = out.size();
    try {
        out.push_back(0);
        out.push_back(0);
        BodyEncoder(layout, out).encode(block);
        const size_t bodyLength = out.size() - start - 2;
        if (bodyLength > kMaxBodyLength) {
            refuse("body of " + std::to_string(bodyLength) + " bytes exceeds " + std::to_string(kMaxBodyLength));
        }
        out[start] = static_cast<uint8_t>(bodyLength >> 8);
        out[start + 1] = static_cast<uint8_t>(bodyLength & 0xFF);
    } catch (...) {
        out.resize(start);
        throw;
    }
}

}  // namespace vxa
