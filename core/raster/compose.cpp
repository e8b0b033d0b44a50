#include "core/model/frame_budget.h"
#include "core/raster/canvas.h"
#include "core/raster/renderer.h"
#include "core/tables/color_table.h"

namespace raster {

namespace {

bool drawItems(Canvas& canvas, const FrameRecord& frame, int backgroundIndex, GroupTable& groups,
               FontLibrary& fonts, vxa::FrameBudget& budget) {
    Image& picture = canvas.image();
    canvas.fillRect(Rect{0, 0, picture.width, picture.height}, Paint::solid(rgbForIndex(backgroundIndex)));
    for (const FrameItem& item : frame.items) {
        if (!groups.inTable(item.groupId)) continue;
        PreparedGroup* group = groups.find(item.groupId);
        if (!group) return false;
        // Group point (px, py) lands on (x + px, y + py).
        canvas.setWindowOrigin(Point{-item.x, -item.y});
        for (PreparedObject& object : group->objects) {
            // Past the budget nothing more of the frame is drawn or looked at.
            if (!budget.admit(object.cost)) return true;
            groups.record(object);
            drawObject(canvas, object, fonts);
        }
    }
    return true;
}

}  // namespace

bool composeFrame(Image& picture, const FrameRecord& frame, int backgroundIndex, GroupTable& groups,
                  FontLibrary& fonts, ComposeReport* report) {
    Canvas canvas(picture);
    vxa::FrameBudget budget;
    const bool whole = drawItems(canvas, frame, backgroundIndex, groups, fonts, budget);
    if (report) {
        report->cut = budget.cut();
        report->unsettled.clear();
        for (const Rect& band : canvas.unsettled()) {
            const Rect visible = intersection(band, Rect{0, 0, picture.width, picture.height});
            if (!visible.empty()) report->unsettled.push_back(visible);
        }
    }
    return whole;
}

}  // namespace raster
