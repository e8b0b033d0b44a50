// Lines and arcs: direction, pen colour, and the arc's radial points for
// every angle, in range or not.
#include <float.h>
#include <gtest/gtest.h>

#include "graphics/arc_object.h"
#include "core/tables/color_table.h"
#include "graphics/line_object.h"
#include "object_headers.h"
#include "test_surface.h"

namespace {

using namespace colors;

TEST(LineObject, RunsFromTheFirstCornerToTheSecond) {
    TestSurface canvas(256, 256);
    LineObject line(1, makeHeader(200, 10, 10, 200, Fill{}, Line{12, kRed, kBlue, 1}));
    const Snapshot shot = canvas.drawn(line);
    // A line leaves out its last pixel: only the start corner is drawn.
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(200, 10));
    EXPECT_NE(rgbOfIndex(kRed), shot.at(10, 200));
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(105, 105));
    EXPECT_EQ(190, shot.count(rgbOfIndex(kRed)));
}

TEST(LineObject, PenColourAndWidth) {
    TestSurface canvas;
    LineObject second(1, makeHeader(5, 30, 60, 30, Fill{}, Line{0, kRed, kBlue, 1}));
    EXPECT_EQ(rgbOfIndex(kBlue), canvas.drawn(second).at(20, 30));
    for (int pattern : {12, 5}) {
        LineObject first(1, makeHeader(5, 30, 60, 30, Fill{}, Line{pattern, kRed, kBlue, 1}));
        EXPECT_EQ(rgbOfIndex(kRed), canvas.drawn(first).at(20, 30)) << "pattern " << pattern;
    }
    LineObject wide(1, makeHeader(5, 30, 60, 30, Fill{}, Line{12, kRed, kBlue, 5}));
    const RECT bounds = canvas.drawn(wide).boundsOf(rgbOfIndex(kRed));
    EXPECT_EQ(5, bounds.bottom - bounds.top);
    LineObject none(1, makeHeader(5, 30, 60, 30, Fill{}, Line{255, kRed, kBlue, 5}));
    EXPECT_EQ(64 * 64, canvas.drawn(none).count(rgbOfIndex(kGrey)));
}

void expectPoint(const POINT& point, int x, int y) {
    EXPECT_EQ(x, point.x);
    EXPECT_EQ(y, point.y);
}

ObjectHeader arcHeader(int left, int top, int right, int bottom, int linePattern = 12) {
    return makeHeader(left, top, right, bottom, Fill{}, Line{linePattern, kRed, kBlue, 1});
}

TEST(ArcObject, RadialPointsOfTheQuarterAngles) {
    ArcObject arc(5, arcHeader(10, 10, 110, 60), 0, 90);
    expectPoint(arc.startPoint(), 60, 10);
    expectPoint(arc.endPoint(), 110, 35);
    ArcObject lower(5, arcHeader(10, 10, 110, 60), 180, 90);
    expectPoint(lower.startPoint(), 60, 60);
    expectPoint(lower.endPoint(), 10, 35);
}

TEST(ArcObject, RadialPointsOnTheEdgeLinesAreTruncatedTowardZero) {
    expectPoint(ArcObject(5, arcHeader(0, 0, 100, 100), 45, 0).startPoint(), 100, 0);
    expectPoint(ArcObject(5, arcHeader(0, 0, 100, 100), 315, 0).startPoint(), 0, 0);
    expectPoint(ArcObject(5, arcHeader(0, 0, 100, 100), 60, 0).startPoint(), 100, 21);   // 50 - 28.87
    expectPoint(ArcObject(5, arcHeader(0, 0, 100, 100), 120, 0).startPoint(), 100, 78);  // 50 + 28.87
    expectPoint(ArcObject(5, arcHeader(0, 0, 100, 100), 240, 0).startPoint(), 0, 78);
    // Scaled by the half width, not the half height, and may leave the box.
    expectPoint(ArcObject(5, arcHeader(0, 0, 100, 20), 30, 0).startPoint(), 100, 10 - 86);
    expectPoint(ArcObject(5, arcHeader(0, 0, 100, 20), 200, 0).startPoint(), 0, 10 + 137);
}

// The x87 FPU's precision control belongs to the host process: Windows
// programs of the plug-in's time ran at 53 bits, MinGW's at 64. The i686
// build does its arithmetic there, so a host sets it as a host would; x86_64
// code computes doubles in SSE, which has no such control, but x87 code in
// it (long double, or a build for the x87) still follows the control word.
struct Precision {
    const char* name;
    unsigned controlfp;  // for _controlfp
    unsigned short x87;  // the control word's precision bits
};
constexpr Precision kPrecisions[] = {{"53 bits", _PC_53, 0x200}, {"64 bits", _PC_64, 0x300}};
constexpr unsigned short kX87PrecisionBits = 0x300;

unsigned short x87ControlWord() {
    unsigned short word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

void setX87ControlWord(unsigned short word) { __asm__ volatile("fldcw %0" : : "m"(word)); }

class PrecisionControl {
public:
    explicit PrecisionControl(const Precision& precision) : saved_(x87ControlWord()) {
#if defined(__i386__)
        _controlfp(precision.controlfp, _MCW_PC);
#else
        setX87ControlWord(static_cast<unsigned short>((saved_ & ~kX87PrecisionBits) | precision.x87));
#endif
        EXPECT_EQ(precision.x87, x87ControlWord() & kX87PrecisionBits) << "the precision control did not take";
    }
    ~PrecisionControl() { setX87ControlWord(saved_); }

private:
    unsigned short saved_;
};

// On the diagonals below the centre the offset is the half width times a
// tangent a hair under 1: at 64 bits the sum stayed below the edge and the
// point came out a pixel high (97 instead of 98 for a half width of 49).
TEST(ArcObject, DiagonalPointsAreTheSameAtEveryPrecision) {
    struct Case {
        int left, top, right, bottom;
        int x135, y135, x225, y225, y45;
    };
    const Case cases[] = {
        {0, 0, 98, 98, 98, 98, 0, 98, 0},         // 49 + 49 x (1 - 2^-53): 97 at 64 bits in floating point
        {0, 0, 100, 100, 100, 100, 0, 100, 0},
        {10, 20, 24, 34, 24, 34, 10, 34, 20},
        {0, 0, 66, 20, 66, 42, 0, 42, -22},       // off a flat box
        {-300, 0, 210, 40, 210, 275, -300, 275, -234},
        {0, 0, 2, 2, 2, 2, 0, 2, 0},
    };
    for (const Precision& precision : kPrecisions) {
        PrecisionControl control(precision);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << precision.name << ", box " << c.left << "," << c.top << ","
                                            << c.right << "," << c.bottom);
            const ObjectHeader box = arcHeader(c.left, c.top, c.right, c.bottom);
            const ArcObject lower(5, box, 135, 90);
            expectPoint(lower.startPoint(), c.x135, c.y135);
            expectPoint(lower.endPoint(), c.x225, c.y225);
            const ArcObject upper(5, box, 45, 270);
            expectPoint(upper.startPoint(), c.right, c.y45);
            expectPoint(upper.endPoint(), c.left, c.y45);
        }
    }
}

TEST(ArcObject, AnglesOutsideOneTurnGiveThePointsOfTheirDirection) {
    const ObjectHeader box = arcHeader(0, 0, 100, 60);
    auto pointOf = [&](int angle) { return ArcObject(5, box, static_cast<int16_t>(angle), 0).startPoint(); };
    for (int angle : {-90, -1, -360, -359, 360, 400, 719, 1000, 32767, -32768}) {
        const int equivalent = ((angle % 360) + 360) % 360;
        const POINT got = pointOf(angle);
        const POINT want = pointOf(equivalent);
        EXPECT_EQ(want.x, got.x) << "angle " << angle;
        EXPECT_EQ(want.y, got.y) << "angle " << angle;
    }
    // The end angle is the 16-bit sum: 32767 + 32767 wraps to -2, that is 358.
    const ArcObject wrapped(5, box, 32767, 32767);
    const POINT end358 = pointOf(358);
    expectPoint(wrapped.endPoint(), end358.x, end358.y);
    const ArcObject past(5, box, 300, 100);  // ends at 400, that is 40
    const POINT end40 = pointOf(40);
    expectPoint(past.endPoint(), end40.x, end40.y);
}

TEST(ArcObject, DrawsClockwiseFromTheStartThroughTheSweep) {
    TestSurface canvas(128, 128);
    ArcObject arc(5, arcHeader(10, 10, 110, 60), 0, 90);
    const RECT bounds = canvas.drawn(arc).boundsOf(rgbOfIndex(kRed));
    EXPECT_GE(bounds.left, 58);
    EXPECT_LE(bounds.bottom, 37);
    EXPECT_EQ(10, bounds.top);
    EXPECT_EQ(110, bounds.right);
}

TEST(ArcObject, OutOfRangeAnglesDrawLikeTheirEquivalents) {
    TestSurface canvas(128, 128);
    ArcObject negative(5, arcHeader(10, 10, 110, 60), -90, 450);  // 270 through 360
    ArcObject plain(5, arcHeader(10, 10, 110, 60), 270, 90);
    const Snapshot a = canvas.drawn(negative);
    const Snapshot b = canvas.drawn(plain);
    EXPECT_GT(a.count(rgbOfIndex(kRed)), 0);
    EXPECT_EQ(b.count(rgbOfIndex(kRed)), a.count(rgbOfIndex(kRed)));
    const RECT bounds = a.boundsOf(rgbOfIndex(kRed));
    EXPECT_EQ(10, bounds.left);  // the upper left quarter
    EXPECT_LE(bounds.right, 62);
}

// The boxes of a probe movie whose arcs corrupted Wine's heap: each is
// narrower or lower than its pen.
TEST(ArcObject, APenWiderOrHigherThanTheBoxDrawsNothing) {
    TestSurface canvas(128, 128);
    struct Case {
        int left, top, right, bottom, width;
        bool drawn;
    } cases[] = {
        {60, 0, 80, 40, 19, true}, {60, 0, 79, 40, 19, true}, {60, 0, 78, 40, 19, false},
        {10, 20, 23, 12, 19, false}, {42, 70, 78, 10, 37, false}, {78, 20, 60, 40, 21, false},
        {20, 20, 21, 40, 0, true}, {20, 20, 20, 40, 0, false},
    };
    for (const Case& c : cases) {
        ObjectHeader header = arcHeader(c.left, c.top, c.right, c.bottom);
        header.lineWidth = static_cast<int16_t>(c.width);
        ArcObject arc(5, header, 30, 0);
        EXPECT_EQ(c.drawn, canvas.drawn(arc).count(rgbOfIndex(kRed)) > 0)
            << c.left << "," << c.top << "," << c.right << "," << c.bottom << " pen " << c.width;
    }
}

TEST(ArcObject, ZeroSweepIsTheWholeEllipseAndNoLineIsNothing) {
    TestSurface canvas(128, 128);
    ArcObject whole(5, arcHeader(10, 10, 110, 60), 30, 0);
    const RECT bounds = canvas.drawn(whole).boundsOf(rgbOfIndex(kRed));
    EXPECT_EQ("10,10,110,60", str(bounds));
    ArcObject none(5, arcHeader(10, 10, 110, 60, 255), 0, 90);
    EXPECT_EQ(0, canvas.drawn(none).count(rgbOfIndex(kRed)));
}

}  // namespace
