// Pattern brushes, read back as pixels: every tile against the tiles drawn
// as text art in pattern_tiles_art.inc (not the product's own list), the
// solid cases and the stock brushes.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/tables/color_table.h"
#include "graphics/offscreen_surface.h"
#include "object_headers.h"
#include "pattern_tiles_expected.h"
#include "test_surface.h"

namespace {

const expected::PatternTiles kExpected = expected::patternTiles();
const std::array<expected::Tile, 64>& kTiles = kExpected.tiles;

using namespace colors;

// Fills a 16 x 16 area at (0, 0) with the brush and snapshots it.
Snapshot fillWith(TestSurface& canvas, const fw::Brush& brush) {
    canvas.clear(RGB(1, 2, 3));
    const RECT area{0, 0, 16, 16};
    FillRect(canvas.dc(), &area, brush.handle());
    return Snapshot(canvas.dc(), 16, 16);
}

// Where the tile's bit is set the first colour shows, elsewhere the second;
// the 8 x 8 tile repeats.
void expectTile(const Snapshot& shot, const expected::Tile& rows, uint32_t first, uint32_t second, int pattern) {
    int wrong = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool set = rows[y % 8] & (0x80 >> (x % 8));
            if (shot.at(x, y) != (set ? first : second)) ++wrong;
        }
    }
    EXPECT_EQ(0, wrong) << "pattern " << pattern << ": pixel (0,0) is " << hex(shot.at(0, 0));
}

LOGBRUSH brushInfo(const fw::Brush& brush) {
    LOGBRUSH info{};
    GetObjectA(brush.handle(), sizeof info, &info);
    return info;
}

TEST(PatternBrush, CheckerboardStartsWithTheFirstColour) {
    TestSurface canvas;
    fw::Brush brush;
    ASSERT_EQ(1, canvas.surface().makePatternBrush(22, kBlack, kWhite, brush));
    const Snapshot shot = fillWith(canvas, brush);
    EXPECT_EQ(0x000000u, shot.at(0, 0));
    EXPECT_EQ(0xFFFFFFu, shot.at(1, 0));
    EXPECT_EQ(0xFFFFFFu, shot.at(0, 1));
    EXPECT_EQ(0x000000u, shot.at(1, 1));
    expectTile(shot, kTiles[21], 0x000000, 0xFFFFFF, 22);
}

TEST(PatternBrush, EveryPatternNumberShowsItsTile) {
    ASSERT_EQ("", kExpected.fault);
    TestSurface canvas;
    // 1..64 and the numbers above, which repeat them (65 is 1, 76 is 12's
    // all-set tile); 12 itself is solid in the first colour, the same pixels.
    for (int pattern = 1; pattern <= 254; ++pattern) {
        fw::Brush brush;
        ASSERT_EQ(1, canvas.surface().makePatternBrush(static_cast<int16_t>(pattern), kRed, kGreen, brush));
        expectTile(fillWith(canvas, brush), kTiles[(pattern - 1) % 64], rgbOfIndex(kRed), rgbOfIndex(kGreen),
                   pattern);
    }
}

TEST(PatternBrush, OnlyTheLowByteOfThePatternCounts) {
    TestSurface canvas;
    fw::Brush brush;
    ASSERT_EQ(1, canvas.surface().makePatternBrush(0x100 + 22, kBlack, kWhite, brush));
    expectTile(fillWith(canvas, brush), kTiles[21], 0x000000, 0xFFFFFF, 0x116);
    fw::Brush none;
    EXPECT_EQ(0, canvas.surface().makePatternBrush(-1, kBlack, kWhite, none));  // low byte 255
    EXPECT_FALSE(none);
}

TEST(PatternBrush, SolidCases) {
    TestSurface canvas;
    OffscreenSurface& surface = canvas.surface();
    fw::Brush second;
    ASSERT_EQ(1, surface.makePatternBrush(0, kRed, kGreen, second));
    EXPECT_EQ(256, fillWith(canvas, second).count(rgbOfIndex(kGreen)));
    EXPECT_EQ(static_cast<UINT>(BS_SOLID), brushInfo(second).lbStyle);

    fw::Brush first;
    ASSERT_EQ(1, surface.makePatternBrush(12, kRed, kGreen, first));
    EXPECT_EQ(256, fillWith(canvas, first).count(rgbOfIndex(kRed)));

    // Equal colours need no pattern, whatever the pattern.
    fw::Brush equal;
    ASSERT_EQ(1, surface.makePatternBrush(22, kRed, kRed, equal));
    EXPECT_EQ(static_cast<UINT>(BS_SOLID), brushInfo(equal).lbStyle);
    EXPECT_EQ(256, fillWith(canvas, equal).count(rgbOfIndex(kRed)));

    fw::Brush patterned;
    ASSERT_EQ(1, surface.makePatternBrush(22, kRed, kGreen, patterned));
    EXPECT_NE(static_cast<UINT>(BS_SOLID), brushInfo(patterned).lbStyle);
}

TEST(PatternBrush, ExactBlackAndWhiteSolidsAreTheStockBrushes) {
    TestSurface canvas;
    OffscreenSurface& surface = canvas.surface();
    fw::Brush white, black, firstBlack, grey;
    surface.makePatternBrush(0, kRed, kWhite, white);
    surface.makePatternBrush(0, kRed, kBlack, black);
    surface.makePatternBrush(12, kBlack, kRed, firstBlack);
    surface.makePatternBrush(0, kRed, 249, grey);  // plain (128, 128, 128): made
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), white.handle());
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), black.handle());
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), firstBlack.handle());
    EXPECT_NE(GetStockObject(GRAY_BRUSH), grey.handle());
    EXPECT_EQ(256, fillWith(canvas, grey).count(0x808080));
}

TEST(PatternBrush, ShapeBrushesAreTheFillPairAndTheLinePair) {
    TestSurface canvas;
    ObjectHeader header{};
    header.fillPattern = 22;
    header.fillColor1 = kBlack;
    header.fillColor2 = kWhite;
    header.linePattern = 12;
    header.lineColor1 = kRed;
    header.lineColor2 = kGreen;
    fw::Brush fill, line;
    EXPECT_EQ(1, canvas.surface().makeShapeBrushes(header, fill, line));
    expectTile(fillWith(canvas, fill), kTiles[21], 0x000000, 0xFFFFFF, 22);
    EXPECT_EQ(256, fillWith(canvas, line).count(rgbOfIndex(kRed)));

    header.fillPattern = 255;
    fw::Brush noFill, line2;
    EXPECT_EQ(0, canvas.surface().makeShapeBrushes(header, noFill, line2));
    EXPECT_FALSE(noFill);
    EXPECT_TRUE(line2);  // the line brush is still made
}

TEST(PatternBrush, WithoutASheetEveryTileIsTheSecondColour) {
    TestSurface canvas(64, 64, 0);
    EXPECT_EQ(nullptr, canvas.surface().patternSheet());
    fw::Brush brush;
    ASSERT_EQ(1, canvas.surface().makePatternBrush(22, kRed, kGreen, brush));
    EXPECT_EQ(256, fillWith(canvas, brush).count(rgbOfIndex(kGreen)));
}

}  // namespace
