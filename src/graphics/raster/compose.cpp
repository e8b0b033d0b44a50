#include "graphics/raster/canvas.h"
#include "graphics/raster/renderer.h"
#include "graphics/tables/color_table.h"

namespace raster {

namespace {

bool drawItems(Canvas& canvas, const FrameContent& frame, const GroupTable& groups, FontLibrary& fonts) {
    Image& picture = canvas.image();
    canvas.fillRect(Rect{0, 0, picture.width, picture.height}, Paint::solid(rgbForIndex(frame.backgroundIndex)));
    // The plug-in's per-frame drawing budget, once it has one, cuts the
    // frame here in the same place.
    for (const Placement& item : frame.items) {
        if (!groups.inTable(item.groupId)) continue;
        const PreparedGroup* group = groups.find(item.groupId);
        if (!group) return false;
        // Group point (px, py) lands on (x + px, y + py).
        canvas.setWindowOrigin(Point{-item.x, -item.y});
        for (const PreparedObject& object : group->objects) drawObject(canvas, object, fonts);
    }
    return true;
}

}  // namespace

bool composeFrame(Image& picture, const FrameContent& frame, const GroupTable& groups, FontLibrary& fonts,
                  std::vector<Rect>* unsettled) {
    Canvas canvas(picture);
    const bool whole = drawItems(canvas, frame, groups, fonts);
    if (unsettled) {
        for (const Rect& band : canvas.unsettled()) {
            const Rect visible = intersection(band, Rect{0, 0, picture.width, picture.height});
            if (!visible.empty()) unsettled->push_back(visible);
        }
    }
    return whole;
}

}  // namespace raster
