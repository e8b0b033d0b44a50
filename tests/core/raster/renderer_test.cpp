// The renderer's own rules, apart from the pixels it shares with the plug-in
// (those are checked against the plug-in by agreement.py): which placements
// a frame draws and when it is incomplete, and how DrawText's line breaking
// cuts a text into lines; and its 64 patterns against the text art, which
// also catches a fault the plug-in shares through the common tile list.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../graphics/pattern_tiles_expected.h"
#include "core/model/frame_budget.h"
#include "core/raster/renderer.h"
#include "core/raster/text_layout.h"
#include "core/raster/word_breaks.h"
#include "core/tables/color_table.h"

namespace {

constexpr int kRed = 35;  // colour indices of plain colours
constexpr int kBlue = 210;
constexpr int kWhite = 0;

// A group of one solid, unoutlined square of the given colour.
vxa::GroupRecord square(int id, int colorIndex, int size) {
    vxa::GroupRecord group;
    group.id = static_cast<int16_t>(id);
    vxa::ObjectRecord rect;
    rect.kind = vxa::ObjectKind::Rect;
    rect.right = rect.bottom = static_cast<uint8_t>(size + 1);  // a null pen leaves out the last row and column
    rect.fill1 = static_cast<uint8_t>(colorIndex + 1);
    rect.fillPattern = 12;
    rect.linePattern = 255;
    group.objects.push_back(rect);
    return group;
}

TEST(ComposeFrame, PlacementsInOrderAndWhereTheFrameStops) {
    raster::FontLibrary fonts;
    raster::GroupTable groups(3);  // group 3 never arrives
    groups.put(square(1, kRed, 10));
    groups.put(square(2, kBlue, 10));
    groups.put(square(9, kBlue, 10));  // outside the table: ignored

    struct Probe {
        int x, y, colorIndex;
    };
    struct Case {
        const char* what;
        std::vector<FrameItem> items;
        bool whole;
        std::vector<Probe> probes;
    } cases[] = {
        {"no placements: the background", {}, true, {{0, 0, kWhite}, {39, 29, kWhite}}},
        {"later over earlier",
         {{1, 0, 0}, {2, 5, 5}},
         true,
         {{2, 2, kRed}, {7, 7, kBlue}, {14, 14, kBlue}, {15, 15, kWhite}}},
        {"ids outside the table draw nothing",
         {{0, 0, 0}, {9, 0, 0}, {-1, 0, 0}, {1, 20, 20}},
         true,
         {{2, 2, kWhite}, {22, 22, kRed}}},
        {"a group not yet arrived stops the frame",
         {{1, 0, 0}, {3, 0, 0}, {2, 20, 20}},
         false,
         {{2, 2, kRed}, {22, 22, kWhite}}},
        {"placed partly outside the picture", {{2, -5, 25}}, true, {{0, 25, kBlue}, {4, 29, kBlue}, {5, 25, kWhite}}},
        {"a replaced group draws its new objects", {{4, 0, 0}}, true, {{2, 2, kRed}}},
    };
    for (const Case& c : cases) {
        if (std::string(c.what) == "a replaced group draws its new objects") {
            groups = raster::GroupTable(4);
            groups.put(square(4, kBlue, 10));
            groups.put(square(4, kRed, 10));
        }
        raster::Image picture(40, 30, 0x123456);
        FrameRecord frame;
        frame.items = c.items;
        EXPECT_EQ(c.whole, raster::composeFrame(picture, frame, kWhite, groups, fonts)) << c.what;
        for (const Probe& p : c.probes) {
            EXPECT_EQ(rgbForIndex(p.colorIndex), picture.at(p.x, p.y)) << c.what << " at " << p.x << "," << p.y;
        }
    }
}

TEST(ComposeFrame, TheDrawingBudgetCutsTheFrameAtTheObjectThatWouldPassIt) {
    // One group of large squares in two colours, placed over and over: the
    // last square drawn shows, and nothing after the cut is looked at.
    vxa::GroupRecord group;
    group.id = 1;
    for (int i = 0; i < 101; ++i) group.objects.push_back(square(1, i % 2 ? kBlue : kRed, 250).objects[0]);
    const uint32_t cost = vxa::drawingCost(group.objects[0]);
    const uint64_t drawn = vxa::kFrameDrawingBound / cost;
    ASSERT_LT(drawn, 101u * 255u) << "the frame must pass the budget";
    raster::FontLibrary fonts;
    raster::GroupTable groups(2);  // group 2 never arrives
    groups.put(group);

    FrameRecord frame;
    frame.items.assign(255, FrameItem{1, 0, 0});
    frame.items.push_back({2, 0, 0});
    raster::Image picture(40, 30);
    raster::ComposeReport report;
    EXPECT_TRUE(raster::composeFrame(picture, frame, kWhite, groups, fonts, &report));
    EXPECT_TRUE(report.cut);
    EXPECT_EQ(rgbForIndex((drawn - 1) % 101 % 2 ? kBlue : kRed), picture.at(5, 5));

    // A group missing before the cut still holds the frame back.
    frame.items.insert(frame.items.begin(), FrameItem{2, 0, 0});
    EXPECT_FALSE(raster::composeFrame(picture, frame, kWhite, groups, fonts, &report));
    EXPECT_FALSE(report.cut);
    // A frame within the budget is not cut.
    frame.items = {{1, 0, 0}};
    EXPECT_TRUE(raster::composeFrame(picture, frame, kWhite, groups, fonts, &report));
    EXPECT_FALSE(report.cut);
}

TEST(ComposeFrame, EveryPatternAsItsTextArtAnchoredToThePicture) {
    // The 64 patterns side by side, each square placed at an offset that is
    // not a multiple of 8: a tile read in the wrong bit order, with its
    // colours swapped, under the wrong number or anchored to the shape
    // instead of the picture shows here. The expectation is the text art,
    // not the product's list of tiles.
    const expected::PatternTiles art = expected::patternTiles();
    ASSERT_EQ("", art.fault);
    constexpr int kCell = 20, kSquare = 16, kOffset = 3;
    raster::GroupTable groups(64);
    FrameRecord frame;
    for (int p = 1; p <= 64; ++p) {
        vxa::GroupRecord group = square(p, kRed, kSquare);
        group.objects[0].fill2 = kBlue + 1;
        group.objects[0].fillPattern = static_cast<uint8_t>(p);
        groups.put(group);
        frame.items.push_back({static_cast<int16_t>(p), static_cast<int16_t>((p - 1) % 8 * kCell + kOffset),
                               static_cast<int16_t>((p - 1) / 8 * kCell + kOffset)});
    }
    raster::FontLibrary fonts;
    raster::Image picture(8 * kCell, 8 * kCell);
    ASSERT_TRUE(raster::composeFrame(picture, frame, kWhite, groups, fonts));
    for (int p = 1; p <= 64; ++p) {
        const int left = (p - 1) % 8 * kCell + kOffset, top = (p - 1) / 8 * kCell + kOffset;
        int wrong = 0;
        for (int y = top; y < top + kSquare; ++y) {
            for (int x = left; x < left + kSquare; ++x) {
                const bool set = art.tiles[static_cast<size_t>(p - 1)][static_cast<size_t>(y % 8)] & (0x80 >> (x % 8));
                wrong += picture.at(x, y) != rgbForIndex(set ? kRed : kBlue);
            }
        }
        EXPECT_EQ(0, wrong) << "pixels of pattern " << p << " unlike its art";
    }
}

std::vector<uint8_t> fontBytes(const std::string& name) {
    std::ifstream in("/usr/share/fonts/truetype/liberation/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ComposeFrame, TextNeedsItsFontFileAndAFileGivenAgainReplacesIt) {
    vxa::GroupRecord group;
    group.id = 1;
    vxa::ObjectRecord text;
    text.kind = vxa::ObjectKind::Text;
    text.right = 60;
    text.bottom = 20;
    text.fillPattern = text.linePattern = 255;
    text.textColor = 0;  // index 255, black
    text.size = 12;
    text.fontName = "Geneva";
    text.text = "Hello";
    group.objects.push_back(text);
    raster::GroupTable groups(1);
    groups.put(group);
    FrameRecord frame;
    frame.items = {{1, 0, 0}};
    auto ink = [&](raster::FontLibrary& fonts) {
        raster::Image picture(64, 24);
        raster::composeFrame(picture, frame, kWhite, groups, fonts);
        return std::count(picture.pixels.begin(), picture.pixels.end(), 0u);
    };

    raster::FontLibrary fonts;
    EXPECT_EQ(0, ink(fonts));
    const std::string file = "LiberationSans-Regular.ttf";  // Geneva is drawn as MS Sans Serif
    fonts.addFile(file, fontBytes(file));
    const auto drawn = ink(fonts);
    EXPECT_GT(drawn, 20);
    fonts.addFile(file, fontBytes(file));
    EXPECT_EQ(drawn, ink(fonts));
}

// Every character advances 10 pixels: widths are character counts.
std::vector<raster::LaidLine> layOut(const std::string& text, int width, raster::Alignment alignment,
                                     int height = 1000) {
    const std::vector<uint16_t> wide(text.begin(), text.end());
    return raster::layOutText(wide, raster::TextBox{0, 0, width * 10, height}, alignment, 10,
                              [](uint16_t) { return 10; });
}

std::string linesOf(const std::string& text, const std::vector<raster::LaidLine>& lines) {
    std::string out;
    for (const raster::LaidLine& line : lines) {
        if (!out.empty()) out += "|";
        out += text.substr(static_cast<size_t>(line.start), static_cast<size_t>(line.length));
    }
    return out;
}

TEST(TextLayout, LinesAsDrawTextBreaksThem) {
    using raster::Alignment;
    struct Case {
        std::string text;
        int width;
        Alignment alignment;
        std::string lines;
    } cases[] = {
        {"one two three", 20, Alignment::Left, "one two three"},
        {"one two three", 9, Alignment::Left, "one two |three"},   // the space stays on a left line
        {"one two three", 9, Alignment::Centre, "one two|three"},  // and goes elsewhere
        {"one two three", 9, Alignment::Right, "one two|three"},
        // "one two" fits exactly, but the break after it lies past the fit:
        // DrawText goes back to the break before "two".
        {"one two three", 7, Alignment::Left, "one |two |three"},
        {"unbreakable word", 4, Alignment::Left, "unbreakable|word"},  // an overlong word stays whole
        {"well-known fact", 6, Alignment::Left, "well-|known |fact"},  // after a hyphen before a letter
        {"pi 3.14159 ok", 6, Alignment::Left, "pi |3.14159|ok"},       // numbers are not cut at the point
        {"a\r\nb\nc\n\nd", 20, Alignment::Left, "a|b|c||d"},           // CR LF, LF and an empty line
        {"a\r\n\r\nb", 20, Alignment::Left, "a||b"},
        {"(one) two", 3, Alignment::Left, "(one)|two"},  // no break inside the brackets; the space is used up
        {"", 20, Alignment::Left, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.lines, linesOf(c.text, layOut(c.text, c.width, c.alignment))) << c.text << " in " << c.width;
    }
}

TEST(TextLayout, PlacementOfLines) {
    // Centred lines halve the room left (toward zero), right ones take it all.
    EXPECT_EQ(15, layOut("abc", 6, raster::Alignment::Centre)[0].x);
    EXPECT_EQ(30, layOut("abc", 6, raster::Alignment::Right)[0].x);
    // Lines follow one line height apart; the first line that reaches past
    // the box's bottom is the last drawn.
    const std::vector<raster::LaidLine> lines = layOut("a b c d e", 1, raster::Alignment::Left, 25);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(20, lines[2].y);
    // A box of negative width lets everything fit on one line.
    EXPECT_EQ(
        1u,
        raster::layOutText({'a', ' ', 'b'}, raster::TextBox{10, 0, 0, 100}, raster::Alignment::Left, 10, [](uint16_t) {
            return 10;
        }).size());
}

TEST(WordBreaks, OpportunitiesOfTheLineBreakingRules) {
    struct Case {
        std::string text;
        std::string breaks;  // ^ where a line may be broken before the character
    } cases[] = {
        {"ab cd", "...^."},          // after a space
        {"ab-cd", "...^."},          // after a hyphen, before a letter
        {"$12.50", "......"},        // a number with its prefix
        {"\"a b\"", "...^."},        // not next to a quote
        {"(one) two", "......^.."},  // not inside brackets
        {"a\r\nb", "...^"},          // only after the whole CR LF
    };
    for (const Case& c : cases) {
        const std::vector<bool> soft = raster::softBreaks(std::vector<uint16_t>(c.text.begin(), c.text.end()));
        std::string marks;
        for (bool b : soft) marks += b ? '^' : '.';
        EXPECT_EQ(c.breaks, marks) << c.text;
    }
}

}  // namespace
