#include "core/format/range_check.h"

namespace vxa {
namespace {

bool inTable(int16_t value, int16_t count) { return value >= 1 && value <= count; }

std::string tableRange(int16_t count, const char* table) {
    return count >= 1 ? "outside 1.." + std::to_string(count)
                      : std::string("outside the ") + table + " table, which is empty";
}

}  // namespace

std::string checkRanges(const Block& block, int16_t frameCount, int16_t groupCount) {
    const FramePart& frame = block.frame;
    if (frame.number != 0 && !inTable(frame.number, frameCount)) {
        return "frame number " + std::to_string(frame.number) + " is " + tableRange(frameCount, "frame");
    }
    for (size_t i = 0; i < frame.items.size(); ++i) {
        const Item& item = frame.items[i];
        if (item.presence != 0 && !inTable(item.groupId, groupCount)) {
            return "item " + std::to_string(i) + " of frame " + std::to_string(frame.number) + " names group " +
                   std::to_string(item.groupId) + ", " + tableRange(groupCount, "group");
        }
    }
    for (size_t g = 0; g < block.groups.size(); ++g) {
        if (!inTable(block.groups[g].id, groupCount)) {
            return "group record " + std::to_string(g) + " has id " + std::to_string(block.groups[g].id) + ", " +
                   tableRange(groupCount, "group");
        }
    }
    return {};
}

}  // namespace vxa
