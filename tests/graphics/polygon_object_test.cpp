// Polygons: open and closed outlines, patterned frames along the closed
// outline, and polygons without points.
#include <gtest/gtest.h>

#include <new>

#include "core/tables/color_table.h"
#include "graphics/polygon_object.h"
#include "object_headers.h"
#include "test_surface.h"

// The polygon copies its points with the non-throwing array new; this test
// program's own version of it can be told to fail once, as an exhausted heap
// would.
namespace {
bool failNextArrayAllocation = false;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (failNextArrayAllocation) {
        failNextArrayAllocation = false;
        return nullptr;
    }
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

using namespace colors;

const uint32_t kBackground = rgbOfIndex(kGrey);
const POINT kTriangle[] = {{10, 10}, {50, 10}, {50, 40}};

// Pixels of a colour within a small square around (x, y).
int around(const Snapshot& shot, uint32_t rgb, int x, int y) { return shot.count(rgb, RECT{x - 2, y - 2, x + 3, y + 3}); }

TEST(PolygonObject, CopiesItsPoints) {
    POINT points[] = {{1, 2}, {3, 4}};
    PolygonObject polygon(0, makeHeader(0, 0, 10, 10, Fill{}, Line{12}), 2, points);
    points[0] = POINT{9, 9};
    ASSERT_EQ(2, polygon.pointCount());
    EXPECT_EQ(1, polygon.points()[0].x);
    EXPECT_EQ(4, polygon.points()[1].y);
}

TEST(PolygonObject, SolidLineWithoutFillIsOpenAndWithAFillClosed) {
    TestSurface canvas;
    PolygonObject open(0, makeHeader(0, 0, 60, 60, Fill{255}, Line{12, kRed, kBlue, 1}), 3, kTriangle);
    Snapshot shot = canvas.drawn(open);
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(30, 10));
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(50, 25));
    EXPECT_EQ(0, around(shot, rgbOfIndex(kRed), 30, 25));  // the closing edge isn't drawn
    EXPECT_EQ(kBackground, shot.at(45, 20));

    PolygonObject closed(0, makeHeader(0, 0, 60, 60, Fill{12, kYellow}, Line{12, kRed, kBlue, 1}), 3, kTriangle);
    shot = canvas.drawn(closed);
    EXPECT_GT(around(shot, rgbOfIndex(kRed), 30, 25), 0);
    EXPECT_EQ(rgbOfIndex(kYellow), shot.at(45, 20));
    EXPECT_EQ(kBackground, shot.at(20, 30));
}

TEST(PolygonObject, PatternedLineFramesTheClosedOutlineAndLeavesTheInsideTransparent) {
    TestSurface canvas;
    PolygonObject framed(0, makeHeader(0, 0, 60, 60, Fill{255, kYellow, kBlue}, Line{22, kRed, kGreen, 2}), 3,
                         kTriangle);
    const Snapshot shot = canvas.drawn(framed);
    EXPECT_GT(around(shot, rgbOfIndex(kRed), 30, 25), 0);  // along the closing edge too
    EXPECT_GT(around(shot, rgbOfIndex(kGreen), 30, 25), 0);
    EXPECT_GT(around(shot, rgbOfIndex(kRed), 30, 10), 0);
    EXPECT_EQ(kBackground, shot.at(44, 20));
    EXPECT_EQ(0, shot.count(rgbOfIndex(kYellow)) + shot.count(rgbOfIndex(kBlue)));
    // The surface's own pen and brush are left as they were.
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(canvas.dc(), OBJ_PEN));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetCurrentObject(canvas.dc(), OBJ_BRUSH));
}

TEST(PolygonObject, PatternedLineAroundAPatternedFill) {
    TestSurface canvas;
    PolygonObject shape(0, makeHeader(0, 0, 60, 60, Fill{0, kYellow, kBlue}, Line{22, kRed, kGreen, 2}), 3,
                        kTriangle);
    const Snapshot shot = canvas.drawn(shape);
    EXPECT_EQ(rgbOfIndex(kBlue), shot.at(44, 20));
    EXPECT_GT(around(shot, rgbOfIndex(kRed), 30, 25), 0);
}

TEST(PolygonObject, WithoutPointsItDrawsNothing) {
    TestSurface canvas;
    for (int line : {12, 22}) {
        PolygonObject empty(0, makeHeader(0, 0, 60, 60, Fill{12, kYellow}, Line{line, kRed, kBlue, 3}), 0, nullptr);
        EXPECT_EQ(0, empty.pointCount());
        EXPECT_EQ(nullptr, empty.points());
        EXPECT_EQ(64 * 64, canvas.drawn(empty).count(kBackground));
    }
    PolygonObject negative(0, makeHeader(0, 0, 60, 60, Fill{12}, Line{12}), -4, kTriangle);
    EXPECT_EQ(0, negative.pointCount());
}

TEST(PolygonObject, AListThatCantBeAllocatedLeavesAPolygonWithoutPoints) {
    failNextArrayAllocation = true;
    PolygonObject polygon(0, makeHeader(0, 0, 60, 60, Fill{12, kYellow}, Line{12, kRed, kBlue, 1}), 3, kTriangle);
    EXPECT_FALSE(failNextArrayAllocation) << "the copy was not made with the non-throwing new";
    EXPECT_EQ(0, polygon.pointCount());
    EXPECT_EQ(nullptr, polygon.points());
    TestSurface canvas;
    EXPECT_EQ(64 * 64, canvas.drawn(polygon).count(kBackground));
}

}  // namespace
