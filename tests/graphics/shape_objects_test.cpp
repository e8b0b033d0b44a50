// Rectangles, ovals and rounded rectangles drawn on a real surface: where the
// outline, the fill and the ring of a patterned line land.
#include <gtest/gtest.h>

#include "core/tables/color_table.h"
#include "graphics/oval_object.h"
#include "graphics/rect_object.h"
#include "graphics/round_rect_object.h"
#include "object_headers.h"
#include "test_surface.h"

namespace {

using namespace colors;

const uint32_t kBackground = rgbOfIndex(kGrey);

// The checkerboard of pattern 22 in black and white at device pixel (x, y).
uint32_t checker(int x, int y) { return (x + y) % 2 == 0 ? 0x000000 : 0xFFFFFF; }

bool inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

TEST(ShapeObject, InsideFramePenKeepsTheOutlineWithinTheRectangle) {
    TestSurface canvas;
    RectObject rect(3, makeHeader(10, 10, 50, 40, Fill{}, Line{12, kRed, kBlue, 5}));
    Snapshot shot = canvas.drawn(rect);
    EXPECT_EQ("10,10,50,40", str(shot.boundsOf(rgbOfIndex(kRed))));
    // A 5-pixel frame (the pen's joins may round a corner pixel off), and
    // no fill: the inside is untouched.
    EXPECT_NEAR(40 * 30 - 30 * 20, shot.count(rgbOfIndex(kRed)), 4);
    EXPECT_EQ(30 * 20, shot.count(kBackground, RECT{15, 15, 45, 35}));
    EXPECT_EQ(0, shot.count(rgbOfIndex(kRed), RECT{15, 15, 45, 35}));

    OvalObject oval(2, makeHeader(10, 10, 50, 40, Fill{}, Line{12, kRed, kBlue, 5}));
    shot = canvas.drawn(oval);
    const RECT ovalBounds = shot.boundsOf(rgbOfIndex(kRed));
    EXPECT_GE(ovalBounds.left, 10);
    EXPECT_GE(ovalBounds.top, 10);
    EXPECT_LE(ovalBounds.right, 50);
    EXPECT_LE(ovalBounds.bottom, 40);
    EXPECT_EQ(kBackground, shot.at(30, 25));
}

TEST(ShapeObject, SolidPenColourFollowsTheLinePattern) {
    TestSurface canvas;
    RectObject second(3, makeHeader(10, 10, 50, 40, Fill{}, Line{0, kRed, kBlue, 1}));
    EXPECT_EQ(rgbOfIndex(kBlue), canvas.drawn(second).at(10, 10));
    RectObject first(3, makeHeader(10, 10, 50, 40, Fill{}, Line{12, kRed, kBlue, 1}));
    EXPECT_EQ(rgbOfIndex(kRed), canvas.drawn(first).at(10, 10));
}

TEST(ShapeObject, LineWidthZeroIsAOnePixelOutlineAndInnerRectIsRect) {
    TestSurface canvas;
    RectObject rect(3, makeHeader(10, 10, 50, 40, Fill{12, kYellow}, Line{12, kRed, kRed, 0}));
    EXPECT_EQ("10,10,50,40", str(rect.innerRect()));
    const Snapshot shot = canvas.drawn(rect);
    EXPECT_EQ(2 * 40 + 2 * 28, shot.count(rgbOfIndex(kRed)));
    EXPECT_EQ(38 * 28, shot.count(rgbOfIndex(kYellow)));
}

TEST(ShapeObject, SolidLineWithPatternedFill) {
    TestSurface canvas;
    RectObject rect(3, makeHeader(10, 10, 50, 40, Fill{22, kBlack, kWhite}, Line{12, kRed, kRed, 2}));
    const Snapshot shot = canvas.drawn(rect);
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(11, 11));
    int wrong = 0;
    for (int y = 12; y < 38; ++y) {
        for (int x = 12; x < 48; ++x) wrong += shot.at(x, y) != checker(x, y);
    }
    EXPECT_EQ(0, wrong);
}

TEST(ShapeObject, PatternedLineIsARingWithTheInsideInTheSecondFillColour) {
    TestSurface canvas;
    const int w = 3;
    RectObject rect(3, makeHeader(10, 10, 50, 40, Fill{255, kRed, kBlue}, Line{22, kBlack, kWhite, w}));
    const Snapshot shot = canvas.drawn(rect);
    // Without an outline pen a filled rectangle loses its right and bottom
    // pixel: the outer shape covers (10, 10)..(48, 38), the inner one
    // (13, 13)..(45, 35).
    const RECT outer{10, 10, 49, 39};
    const RECT inner{10 + w, 10 + w, 49 - w, 39 - w};
    EXPECT_EQ(str(inner), str(shot.boundsOf(rgbOfIndex(kBlue))));
    int ringWrong = 0, outsideWrong = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint32_t pixel = shot.at(x, y);
            if (inside(inner, x, y)) {
                ringWrong += pixel != rgbOfIndex(kBlue);
            } else if (inside(outer, x, y)) {
                ringWrong += pixel != checker(x, y);
            } else {
                outsideWrong += pixel != kBackground;
            }
        }
    }
    EXPECT_EQ(0, ringWrong);
    EXPECT_EQ(0, outsideWrong);
}

TEST(ShapeObject, PatternedLineRingAroundAPatternedFill) {
    TestSurface canvas;
    RoundRectObject shape(4, makeHeader(10, 10, 50, 40, Fill{12, kYellow, kBlue}, Line{22, kBlack, kWhite, 4}), 0, 0);
    const Snapshot shot = canvas.drawn(shape);
    EXPECT_EQ(0, shot.count(rgbOfIndex(kBlue)));
    EXPECT_EQ(rgbOfIndex(kYellow), shot.at(14, 14));
    EXPECT_EQ(checker(13, 20), shot.at(13, 20));
    EXPECT_EQ(checker(10, 10), shot.at(10, 10));
}

TEST(ShapeObject, NoLineAndNoFillDrawsNothing) {
    TestSurface canvas;
    RectObject rect(3, makeHeader(10, 10, 50, 40, Fill{255, kRed, kBlue}, Line{255, kRed, kBlue, 3}));
    const Snapshot shot = canvas.drawn(rect);
    EXPECT_EQ(64 * 64, shot.count(kBackground));
}

TEST(ShapeObject, FillWithoutLineFillsInsideTheLineWidth) {
    TestSurface canvas;
    OvalObject oval(2, makeHeader(10, 10, 50, 40, Fill{0, kRed, kBlue}, Line{255, kRed, kRed, 5}));
    const Snapshot shot = canvas.drawn(oval);
    EXPECT_EQ(0, shot.count(rgbOfIndex(kRed)));
    const RECT bounds = shot.boundsOf(rgbOfIndex(kBlue));
    EXPECT_GE(bounds.left, 15);
    EXPECT_GE(bounds.top, 15);
    EXPECT_LE(bounds.right, 45);
    EXPECT_LE(bounds.bottom, 35);
    EXPECT_EQ(rgbOfIndex(kBlue), shot.at(30, 25));
}

TEST(ShapeObject, RoundedCornersLeaveTheCornersUnpainted) {
    TestSurface canvas;
    RoundRectObject shape(4, makeHeader(10, 10, 50, 40, Fill{12, kYellow}, Line{12, kRed, kRed, 1}), 16, 12);
    EXPECT_EQ(16, shape.cornerWidth());
    EXPECT_EQ(12, shape.cornerHeight());
    const Snapshot shot = canvas.drawn(shape);
    EXPECT_EQ(kBackground, shot.at(10, 10));
    EXPECT_EQ(kBackground, shot.at(49, 39));
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(30, 10));
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(10, 25));
    EXPECT_EQ(rgbOfIndex(kYellow), shot.at(30, 25));
}

TEST(ShapeObject, ALineWiderThanHalfTheShapeInvertsTheInnerRectangle) {
    RectObject rect(3, makeHeader(10, 10, 20, 30, Fill{}, Line{22, kBlack, kWhite, 8}));
    EXPECT_EQ("18,18,12,22", str(rect.innerRect()));
    TestSurface canvas;
    canvas.drawn(rect);  // drawn as it stands, without failing
}

}  // namespace
