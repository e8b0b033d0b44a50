#include "core/tables/arc_radials.h"

#include <cstdint>
#include <cstdlib>

// The points are computed in integers. The plug-in's hosts ran their
// arithmetic at different precisions (53 bits for Windows programs of the
// time, 64 for MinGW's), and a point computed in floating point moved by a
// pixel between them; these integers give every build, at any precision,
// what a 53-bit host computed.
namespace {

// tan(d degrees) for d = 0..89, in units of 2^-40: close enough that for
// every half width a box can have, the truncated offset is the one a 53-bit
// computation of the tangent gives (the radials' tests check every one).
constexpr int kTangentShift = 40;
constexpr int64_t kTangents[90] = {
    0,
    19192046852,
    38395792107,
    57622962708,
    76885342825,
    96194802845,
    115563328803,
    135003052424,
    154526281933,
    174145533796,
    193873565580,
    213723410108,
    233708411116,
    253842260626,
    274139038256,
    294613252731,
    315279885853,
    336154439232,
    357252984102,
    378592214576,
    400189504740,
    422062970006,
    444231533232,
    466714996121,
    489534116516,
    512710692262,
    536267652373,
    560229156367,
    584620702710,
    609469247454,
    634803334274,
    660653237293,
    687051118265,
    714031199887,
    741629957302,
    769886330118,
    798841957616,
    828541440246,
    859032630958,
    890366960485,
    922599801342,
    955790876100,
    990004716402,
    1025311180285,
    1061786036713,
    1099511627776,
    1138577620927,
    1179081865935,
    1221131374008,
    1264843439966,
    1310346932501,
    1357783782718,
    1407310707471,
    1459101211952,
    1513347925819,
    1570265339598,
    1630093023767,
    1693099432919,
    1759586423012,
    1829894642713,
    1904410002821,
    1983571483984,
    2067880617314,
    2157913071598,
    2254332914290,
    2357910294946,
    2469543549320,
    2590287069547,
    2721386775087,
    2864325718023,
    3020883369742,
    3193213629518,
    3383948835739,
    3596340486765,
    3834452731877,
    4103433258373,
    4409900272885,
    4762508089207,
    5172795509757,
    5656496960281,
    6235640305064,
    6942043205274,
    7823431745687,
    8954803598194,
    10461154348316,
    12567475412974,
    15723748834199,
    20979931659340,
    31485893460504,
    62990978967861,
};

// The tangent of 45 degrees as a 53-bit host has it is 1 - 2^-53, not 1.
constexpr int kDiagonal = 45;

// An angle's direction repeats every 360 degrees, so any angle, negative or
// beyond a full turn, is brought into 0..359 where the radial is defined; an
// angle already there is unchanged.
int normalizedAngle(int degrees) {
    const int reduced = degrees % 360;
    return reduced < 0 ? reduced + 360 : reduced;
}

// ceil(log2(x)) for x >= 1: doubles just below x lie 2^(that - 53) apart.
int ceilLog2(int64_t x) {
    int n = 0;
    while ((int64_t{1} << n) < x) ++n;
    return n;
}

// centre + v * (1 - 2^-53), truncated toward zero, exactly as 53-bit
// arithmetic gives it: the product rounds to the double just below |v|, and
// the sum then rounds back to the integer centre + v only when that integer
// is of a larger binade than |v|.
int64_t alongDiagonal(int64_t centre, int64_t v) {
    const int64_t m = centre + v;
    if (v == 0) return m;
    const int64_t q = std::llabs(v);
    if (v > 0) return m > 0 && ceilLog2(q) >= ceilLog2(m) ? m - 1 : m;
    return m < 0 && ceilLog2(q) >= ceilLog2(-m) ? m + 1 : m;
}

// centre + tan(degrees) * halfWidth, truncated toward zero; degrees in
// -89..89.
int64_t offsetByTangent(int64_t centre, int degrees, int64_t halfWidth) {
    const int64_t sign = degrees < 0 ? -1 : 1;
    const int d = degrees < 0 ? -degrees : degrees;
    if (d == kDiagonal) return alongDiagonal(centre, sign * halfWidth);
    const int64_t unit = int64_t{1} << kTangentShift;
    const int64_t scaled = centre * unit + sign * kTangents[d] * halfWidth;
    return scaled / unit;
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
    if (a < 180) return RadialPoint{right, static_cast<int>(offsetByTangent(centreY, a - 90, halfWidth))};
    return RadialPoint{left, static_cast<int>(offsetByTangent(centreY, 270 - a, halfWidth))};
}

bool arcFitsItsPen(int left, int top, int right, int bottom, int lineWidth) {
    const int pen = lineWidth < 1 ? 1 : lineWidth;
    return pen <= std::abs(right - left) && pen <= std::abs(bottom - top);
}
