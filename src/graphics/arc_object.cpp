#include "graphics/arc_object.h"

#include "graphics/offscreen_surface.h"
#include "core/tables/arc_radials.h"

ArcObject::ArcObject(int kind, const ObjectHeader& header, int16_t startAngle, int16_t sweep)
    : GraphicObject(kind, header),
      startPoint_(radialPoint(startAngle)),
      // The end angle is a 16-bit sum, as the stream's authoring tool made it.
      endPoint_(radialPoint(static_cast<int16_t>(startAngle + sweep))) {}

POINT ArcObject::radialPoint(int angle) const {
    const ObjectHeader& r = header();
    const RadialPoint p = arcRadialPoint(r.left, r.top, r.right, r.bottom, angle);
    return POINT{p.x, p.y};
}

void ArcObject::draw(OffscreenSurface& surface) {
    const ObjectHeader& r = header();
    if (r.linePattern == Pattern::None) return;
    if (!arcFitsItsPen(r.left, r.top, r.right, r.bottom, r.lineWidth)) return;
    selectPen(surface);
    // The platform draws counter-clockwise from the first radial to the
    // second, so starting at the end point the arc runs clockwise from the
    // start angle through the sweep.
    auto paint = [&](HDC context) {
        Arc(context, r.left, r.top, r.right, r.bottom, endPoint_.x, endPoint_.y, startPoint_.x, startPoint_.y);
    };
    if (r.lineWidth < 2) {
        paint(surface.handle());
        return;
    }
    outline_.draw(surface.handle(), rect(), r.lineWidth, penColor(), false, surface.recordingBudget(), paint);
}
