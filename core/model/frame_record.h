#pragma once
// One frame of a movie: the groups it places, in drawing order, and the
// sound it names.
#include <cstdint>
#include <vector>

// A placement of one object group. A repeated item with nothing to copy is
// all zero: group id 0 names no group and is drawn as nothing.
struct FrameItem {
    int16_t groupId = 0;
    int16_t x = 0;
    int16_t y = 0;
};

inline bool operator==(const FrameItem& a, const FrameItem& b) {
    return a.groupId == b.groupId && a.x == b.x && a.y == b.y;
}

struct FrameRecord {
    std::vector<FrameItem> items;  // at most 255
    int16_t soundNumber = 0;       // 0: the frame names no sound
};
