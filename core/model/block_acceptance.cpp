#include "core/model/block_acceptance.h"

#include "core/format/block_decoder.h"
#include "core/format/range_check.h"

namespace vxa {

const char kBrokenStreamReason[] = "a block length of 0x8000 or more: the rest of the stream can't be read";

std::string acceptBlock(const uint8_t* body, size_t length, Layout layout, int16_t frameCount, int16_t groupCount,
                        Block& out) {
    DecodeError error;
    if (!decodeBlock(body, length, layout, out, error)) {
        return error.message + " (offset " + std::to_string(error.offset) + ")";
    }
    return checkRanges(out, frameCount, groupCount);
}

FrameRecord frameRecordFor(const FramePart& part, const FrameRecord* previous) {
    FrameRecord record;
    record.soundNumber = part.soundNumber;
    record.items.resize(part.items.size());
    for (size_t i = 0; i < part.items.size(); ++i) {
        const Item& item = part.items[i];
        if (item.presence != 0) {
            record.items[i] = FrameItem{item.groupId, item.x, item.y};
        } else if (previous && i < previous->items.size()) {
            record.items[i] = previous->items[i];
        }
    }
    return record;
}

}  // namespace vxa
