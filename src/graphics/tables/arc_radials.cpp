#include "graphics/tables/arc_radials.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

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

RadialPoint arcRadialPoint(int left, int top, int right, int bottom, int angle) {
    const int halfWidth = static_cast<int16_t>(right - left) / 2;
    const int halfHeight = static_cast<int16_t>(bottom - top) / 2;
    const int centreX = left + halfWidth;
    const int centreY = top + halfHeight;

    const int a = normalizedAngle(angle);
    if (a == 0) return RadialPoint{centreX, top};
    if (a == 90) return RadialPoint{right, centreY};
    if (a == 180) return RadialPoint{centreX, bottom};
    if (a == 270) return RadialPoint{left, centreY};
    // A point on the right or left edge line, above or below the rectangle
    // as the angle needs: offset by the half width times the tangent, it lies
    // in the angle's direction from the centre whatever the proportions.
    if (a < 180) return RadialPoint{right, static_cast<int>(centreY - tangentOfDegrees(90 - a) * halfWidth)};
    return RadialPoint{left, static_cast<int>(centreY + tangentOfDegrees(270 - a) * halfWidth)};
}

bool arcFitsItsPen(int left, int top, int right, int bottom, int lineWidth) {
    const int pen = lineWidth < 1 ? 1 : lineWidth;
    return pen <= std::abs(right - left) && pen <= std::abs(bottom - top);
}
