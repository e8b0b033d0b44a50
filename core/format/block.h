#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/format/wire.h"

namespace vxa {

// The body of one block, with every stored byte kept raw (ignored fields and
// colour bytes included) so that encoding a decoded block gives back the same
// bytes. What the fields mean to playback is the Movie's business.

// The kinds of object record. Any other kind value carries no payload.
namespace ObjectKind {
constexpr int8_t Polygon = 0;
constexpr int8_t Line = 1;
constexpr int8_t Oval = 2;
constexpr int8_t Rect = 3;
constexpr int8_t RoundRect = 4;
constexpr int8_t Arc = 5;
constexpr int8_t Text = 6;
constexpr int8_t Comment = 7;  // one string that no object is built from
}  // namespace ObjectKind

struct Item {
    uint8_t presence = 1;  // 0: repeat of frame F-1's item at the same index; nothing else is stored
    uint8_t flag = 0;
    int16_t groupId = 0;
    int16_t x = 0;
    int16_t y = 0;
    uint8_t mode = 0;
    int16_t extra = 0;  // wide only
};

struct FramePart {
    int16_t number = 0;       // 0: no frame record, only `filler` is stored
    uint8_t filler = 0;       // only when number == 0
    int16_t soundNumber = 0;  // wide only
    uint8_t flag = 0;         // wide only
    std::vector<Item> items;  // at most 255
};

struct ObjectRecord {
    int8_t kind = ObjectKind::Polygon;
    uint8_t left = 0, top = 0, right = 0, bottom = 0;
    uint8_t fill1 = 0, fill2 = 0, line1 = 0, line2 = 0;  // colour bytes: index + 1, modulo 256
    uint8_t fillPattern = 0, linePattern = 0, lineWidth = 0;
    uint8_t reserved = 0;
    std::vector<std::pair<uint8_t, uint8_t>> points;  // Polygon: (x, y)
    uint8_t cornerWidth = 0, cornerHeight = 0;        // RoundRect
    int16_t sweep = 0, startAngle = 0;                // Arc: stored sweep first
    uint8_t textColor = 0;                            // Text: colour byte
    uint8_t style = 0, size = 0;                      // Text
    int8_t justification = 0;                         // Text
    std::string fontName, text;                       // Text: bytes without the NUL
    std::string skipped;                              // Comment: bytes without the NUL
};

struct GroupRecord {
    int16_t id = 0;
    uint8_t color = 0;  // colour byte, ignored by playback
    uint8_t widthMinus1 = 0, heightMinus1 = 0;
    std::vector<ObjectRecord> objects;
};

struct Block {
    FramePart frame;
    std::vector<GroupRecord> groups;
    // A wide group record count of 0x8000..0xFFFF is negative: it stands for no
    // group records, and the block's frame record still counts. The stored
    // value is kept here (with `groups` empty) so that the block encodes back
    // to the same bytes; 0 for any other count.
    int16_t negativeGroupCount = 0;
};

bool operator==(const Item& a, const Item& b);
bool operator==(const FramePart& a, const FramePart& b);
bool operator==(const ObjectRecord& a, const ObjectRecord& b);
bool operator==(const GroupRecord& a, const GroupRecord& b);
bool operator==(const Block& a, const Block& b);
inline bool operator!=(const Item& a, const Item& b) { return !(a == b); }
inline bool operator!=(const FramePart& a, const FramePart& b) { return !(a == b); }
inline bool operator!=(const ObjectRecord& a, const ObjectRecord& b) { return !(a == b); }
inline bool operator!=(const GroupRecord& a, const GroupRecord& b) { return !(a == b); }
inline bool operator!=(const Block& a, const Block& b) { return !(a == b); }

}  // namespace vxa
