#include "core/model/frame_budget.h"

#include <algorithm>
#include <cstdlib>

#include "core/format/wire.h"

namespace vxa {
namespace {

// What the plug-in does to draw each kind of record, and what that was
// measured to cost (drawing units, rounded up, worst of the sizes tried):
// every drawn object selects a pen and a brush and makes one call.
constexpr uint64_t kObject = 5;
// A brush cut from the pattern sheet: a tile bitmap, two memory contexts, a
// copy and the brush itself, each a trip to the window server.
constexpr uint64_t kPatternBrush = 300;
// Filling a shape, per thousand pixels of its box.
constexpr uint64_t kPixelsPerUnit = 1000;
// A pen over one pixel wide is a geometric pen: made and widened per draw.
constexpr uint64_t kWidePen = 100;
// A curve (oval, rounded corner, arc) stroked with a wide pen is widened
// into a path: (width + height of its box)^2 / 32. A thin one: / 8, linear.
constexpr uint64_t kWideCurveDivisor = 32;
constexpr uint64_t kThinCurveDivisor = 8;
// A polyline or polygon outline stroked with a wide pen, per point.
constexpr uint64_t kWideOutlinePerPoint = 50;
// Scan-converting a polygon: every scan line of its height costs its share,
// and sorts the edges crossing it, so the cost also grows with the square of
// the crossings (the sum of the edges' heights) over the scan lines:
// height / 2 + crossings^2 / (height * 300).
constexpr uint64_t kScanLinesPerUnit = 2;
constexpr uint64_t kScanDivisor = 300;
// A polygon drawn as a region (a patterned outline): made, filled and framed.
constexpr uint64_t kRegionScans = 3;
// Text: its layout, per character, and per point of size for the glyphs.
constexpr uint64_t kText = 200;
constexpr uint64_t kPerCharacter = 6;
constexpr uint64_t kSizeDivisor = 2;

bool isSolid(uint8_t pattern) { return pattern == Pattern::SolidSecond || pattern == Pattern::SolidFirst; }
bool isTile(uint8_t pattern) { return !isSolid(pattern) && pattern != Pattern::None; }
uint64_t brush(uint8_t pattern) { return isTile(pattern) ? kPatternBrush : 0; }

struct Box {
    uint64_t width, height;
    uint64_t area() const { return width * height; }
    uint64_t span() const { return width + height; }
};

Box boxOf(const ObjectRecord& o) {
    return Box{static_cast<uint64_t>(std::abs(o.right - o.left)) + 1,
               static_cast<uint64_t>(std::abs(o.bottom - o.top)) + 1};
}

uint64_t fill(const Box& box) { return box.area() / kPixelsPerUnit; }

// Ovals, rectangles, rounded rectangles, and the box of a text.
uint64_t shapeCost(const ObjectRecord& o) {
    const Box box = boxOf(o);
    const bool curved = o.kind == ObjectKind::Oval || o.kind == ObjectKind::RoundRect;
    if (isSolid(o.linePattern)) {
        uint64_t cost = o.fillPattern == Pattern::None ? 0 : brush(o.fillPattern) + fill(box);
        if (o.lineWidth > 1) {
            cost += kWidePen + (curved ? box.span() * box.span() / kWideCurveDivisor : 0);
        } else if (curved) {
            cost += box.span() / kThinCurveDivisor;
        }
        return cost;
    }
    // A patterned line is a ring: the whole shape in the line's pattern,
    // then the inside over it.
    uint64_t cost = 0;
    if (o.linePattern != Pattern::None) cost += kPatternBrush + fill(box);
    if (o.fillPattern != Pattern::None) {
        cost += brush(o.fillPattern) + fill(box);
    } else if (o.linePattern != Pattern::None) {
        cost += fill(box);
    }
    return cost;
}

uint64_t strokeCost(const ObjectRecord& o) {
    if (o.linePattern == Pattern::None) return 0;
    if (o.kind == ObjectKind::Line) return o.lineWidth > 1 ? kWidePen : 0;
    const Box box = boxOf(o);
    if (o.lineWidth > 1) return kWidePen + box.span() * box.span() / kWideCurveDivisor;
    return box.span() / kThinCurveDivisor;
}

uint64_t polygonCost(const ObjectRecord& o) {
    const auto& points = o.points;
    const uint64_t n = points.size();
    if (n == 0) return 0;
    uint64_t crossings = 0;
    uint8_t top = 255, bottom = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const auto& next = points[(i + 1) % points.size()];
        crossings += static_cast<uint64_t>(std::abs(next.second - points[i].second)) + 1;
        top = std::min(top, points[i].second);
        bottom = std::max(bottom, points[i].second);
    }
    const uint64_t height = static_cast<uint64_t>(bottom - top) + 1;
    const uint64_t scan = height / kScanLinesPerUnit + crossings * crossings / (height * kScanDivisor);
    const uint64_t wideOutline = o.lineWidth > 1 ? kWidePen + n * kWideOutlinePerPoint : 0;
    if (isSolid(o.linePattern)) {
        // Without a fill the outline is a polyline; with one, a polygon.
        if (o.fillPattern == Pattern::None) return n + wideOutline;
        return brush(o.fillPattern) + n + scan + wideOutline;
    }
    return brush(o.fillPattern) + brush(o.linePattern) + n + kRegionScans * scan;
}

uint64_t textCost(const ObjectRecord& o) {
    return shapeCost(o) + kText + kPerCharacter * o.text.size() + o.size / kSizeDivisor;
}

}  // namespace

uint32_t drawingCost(const ObjectRecord& object) {
    uint64_t cost = 0;
    switch (object.kind) {
        case ObjectKind::Polygon: cost = polygonCost(object); break;
        case ObjectKind::Line:
        case ObjectKind::Arc: cost = strokeCost(object); break;
        case ObjectKind::Oval:
        case ObjectKind::Rect:
        case ObjectKind::RoundRect: cost = shapeCost(object); break;
        case ObjectKind::Text: cost = textCost(object); break;
        default: return 0;  // builds no object
    }
    return static_cast<uint32_t>(std::min<uint64_t>(kObject + cost, UINT32_MAX));
}

}  // namespace vxa
