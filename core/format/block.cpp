#include "core/format/block.h"

#include <tuple>

namespace vxa {

bool operator==(const Item& a, const Item& b) {
    return std::tie(a.presence, a.flag, a.groupId, a.x, a.y, a.mode, a.extra) ==
           std::tie(b.presence, b.flag, b.groupId, b.x, b.y, b.mode, b.extra);
}

bool operator==(const FramePart& a, const FramePart& b) {
    return std::tie(a.number, a.filler, a.soundNumber, a.flag, a.items) ==
           std::tie(b.number, b.filler, b.soundNumber, b.flag, b.items);
}

bool operator==(const ObjectRecord& a, const ObjectRecord& b) {
    return std::tie(a.kind, a.left, a.top, a.right, a.bottom, a.fill1, a.fill2, a.line1, a.line2, a.fillPattern,
                    a.linePattern, a.lineWidth, a.reserved, a.points, a.cornerWidth, a.cornerHeight, a.sweep,
                    a.startAngle, a.textColor, a.style, a.size, a.justification, a.fontName, a.text, a.skipped) ==
           std::tie(b.kind, b.left, b.top, b.right, b.bottom, b.fill1, b.fill2, b.line1, b.line2, b.fillPattern,
                    b.linePattern, b.lineWidth, b.reserved, b.points, b.cornerWidth, b.cornerHeight, b.sweep,
                    b.startAngle, b.textColor, b.style, b.size, b.justification, b.fontName, b.text, b.skipped);
}

bool operator==(const GroupRecord& a, const GroupRecord& b) {
    return std::tie(a.id, a.color, a.widthMinus1, a.heightMinus1, a.objects) ==
           std::tie(b.id, b.color, b.widthMinus1, b.heightMinus1, b.objects);
}

bool operator==(const Block& a, const Block& b) {
    return a.frame == b.frame && a.groups == b.groups && a.negativeGroupCount == b.negativeGroupCount;
}

}  // namespace vxa
