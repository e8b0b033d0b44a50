// Arc end points: the same on every build, at any floating-point precision,
// and equal to what a host computing at 53 bits got.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/tables/arc_radials.h"

namespace {

// The point as a host computing in doubles (53 bits) gets it from the
// tangent: what the plug-in drew in the browsers of its time.
int radialYAt53Bits(int centreY, int angle, int halfWidth) {
    const double pi = 3.14159265358979323846;
    volatile double tangent = angle < 180 ? std::tan((90 - angle) * pi / 180.0) : std::tan((270 - angle) * pi / 180.0);
    volatile double offset = tangent * halfWidth;
    volatile double y = angle < 180 ? centreY - offset : centreY + offset;
    return static_cast<int>(y);
}

TEST(ArcRadials, EveryAngleAndHalfWidthGivesThe53BitPoint) {
    // Every half width a box can have (its width is a 16-bit difference),
    // around centres inside, on and past the picture's edges.
    long checked = 0, wrong = 0;
    for (int angle = 1; angle < 360; ++angle) {
        if (angle % 90 == 0) continue;
        for (int centreY : {0, 1, 49, 255, -129}) {
            for (int halfWidth = -16384; halfWidth <= 16383; ++halfWidth) {
                const int left = 1000, right = left + 2 * halfWidth;
                const RadialPoint p = arcRadialPoint(left, centreY, right, centreY, angle);
                const int want = radialYAt53Bits(centreY, angle, halfWidth);
                ++checked;
                if (p.y != want && ++wrong <= 5) {
                    ADD_FAILURE() << "angle " << angle << ", centre " << centreY << ", half width " << halfWidth
                                  << ": y " << p.y << ", a 53-bit host " << want;
                }
            }
        }
    }
    EXPECT_EQ(0, wrong) << "of " << checked;
}

TEST(ArcRadials, TheDiagonalsWhereExtendedPrecisionWentWrong) {
    // The showcase's sun: 135 degrees on a box 98 high around centre 49 gave
    // 97 at 64 bits, 98 at 53.
    struct Case {
        int left, top, right, bottom, angle, x, y;
    } cases[] = {
        {0, 0, 98, 98, 135, 98, 98},   {0, 0, 98, 98, 225, 0, 98},    {0, 0, 98, 98, 45, 98, 0},
        {0, 0, 98, 98, 315, 0, 0},     {0, 0, 254, 0, 135, 254, 126},  // 127 - 2^-46 truncates to 126
        {0, 0, 100, 20, 45, 100, -39}, {0, 0, 100, 20, 315, 0, -39},
    };
    for (const Case& c : cases) {
        const RadialPoint p = arcRadialPoint(c.left, c.top, c.right, c.bottom, c.angle);
        EXPECT_EQ(c.x, p.x) << "angle " << c.angle;
        EXPECT_EQ(c.y, p.y) << "angle " << c.angle << " of " << c.right << " x " << c.bottom;
    }
}

}  // namespace
