#include "graphics/arc_object.h"

#include <cmath>

#include "graphics/offscreen_surface.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double tangentOfDegrees(int degrees) { return std::tan(degrees * kPi / 180.0); }

// An angle's direction repeats every 360 degrees, so any angle, negative or
// beyond a full turn, is brought into 0..359 where the radial is defined; an
// angle already there is unchanged.
int normalizedAngle(int degrees) {
    const int reduced = degrees % 360;
    return reduced < 0 ? reduced + 360 : reduced;
}

}  // namespace

ArcObject::ArcObject(int kind, const ObjectHeader& header, int16_t startAngle, int16_t sweep)
    : GraphicObject(kind, header),
      startPoint_(radialPoint(startAngle)),
      // The end angle is a 16-bit sum, as the stream's authoring tool made it.
      endPoint_(radialPoint(static_cast<int16_t>(startAngle + sweep))) {}

POINT ArcObject::radialPoint(int angle) const {
    const ObjectHeader& r = header();
    const int halfWidth = static_cast<int16_t>(r.right - r.left) / 2;
    const int halfHeight = static_cast<int16_t>(r.bottom - r.top) / 2;
    const int centreX = r.left + halfWidth;
    const int centreY = r.top + halfHeight;

    const int a = normalizedAngle(angle);
    if (a == 0) return POINT{centreX, r.top};
    if (a == 90) return POINT{r.right, centreY};
    if (a == 180) return POINT{centreX, r.bottom};
    if (a == 270) return POINT{r.left, centreY};
    // A point on the right or left edge line, above or below the rectangle
    // as the angle needs: offset by the half width times the tangent, it lies
    // in the angle's direction from the centre whatever the proportions.
    if (a < 180) {
        return POINT{r.right, static_cast<LONG>(centreY - tangentOfDegrees(90 - a) * halfWidth)};
    }
    return POINT{r.left, static_cast<LONG>(centreY + tangentOfDegrees(270 - a) * halfWidth)};
}

void ArcObject::draw(OffscreenSurface& surface) {
    const ObjectHeader& r = header();
    if (r.linePattern == Pattern::None) return;
    selectPen(surface);
    // The platform draws counter-clockwise from the first radial to the
    // second, so starting at the end point the arc runs clockwise from the
    // start angle through the sweep.
    Arc(surface.handle(), r.left, r.top, r.right, r.bottom, endPoint_.x, endPoint_.y, startPoint_.x, startPoint_.y);
}
