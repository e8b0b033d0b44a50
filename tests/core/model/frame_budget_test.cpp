// The drawing budget of a frame: what costs what, where a frame is cut, and
// that the frames a hostile stream can ask for are cut early while the
// example movies are drawn whole.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/format/stream.h"
#include "core/model/frame_budget.h"

namespace vxa {
namespace {

ObjectRecord record(int8_t kind, uint8_t size, uint8_t fill = 12, uint8_t line = 12, uint8_t width = 1) {
    ObjectRecord r;
    r.kind = kind;
    r.right = size;
    r.bottom = size;
    r.fillPattern = fill;
    r.linePattern = line;
    r.lineWidth = width;
    return r;
}

ObjectRecord polygon(int points, bool zigzag, uint8_t fill = 12, uint8_t line = 12, uint8_t width = 1) {
    ObjectRecord r = record(ObjectKind::Polygon, 255, fill, line, width);
    for (int i = 0; i < points; ++i)
        r.points.push_back({static_cast<uint8_t>(i * 7), static_cast<uint8_t>(zigzag ? (i % 2) * 255 : i % 3)});
    return r;
}

ObjectRecord text(size_t characters, uint8_t size) {
    ObjectRecord r = record(ObjectKind::Text, 100, 255, 255);
    r.size = size;
    r.text.assign(characters, 'w');
    return r;
}

// What the plug-in does more of is never cheaper: a table of pairs, the
// second drawing everything the first does and more.
TEST(DrawingCost, MoreWorkNeverCostsLess) {
    const struct {
        const char* what;
        ObjectRecord less, more;
    } rows[] = {
        {"a larger filled rectangle", record(ObjectKind::Rect, 10), record(ObjectKind::Rect, 255)},
        {"a patterned fill", record(ObjectKind::Rect, 50), record(ObjectKind::Rect, 50, 5)},
        {"a patterned line (a ring)", record(ObjectKind::Rect, 50, 5), record(ObjectKind::Rect, 50, 5, 22)},
        {"a wide pen on a rectangle", record(ObjectKind::Rect, 50), record(ObjectKind::Rect, 50, 12, 12, 3)},
        {"a wide pen on an oval", record(ObjectKind::Oval, 200), record(ObjectKind::Oval, 200, 12, 12, 3)},
        {"a larger wide arc", record(ObjectKind::Arc, 30, 12, 12, 32), record(ObjectKind::Arc, 255, 12, 12, 32)},
        {"a wide line", record(ObjectKind::Line, 255), record(ObjectKind::Line, 255, 12, 12, 2)},
        {"more polygon points", polygon(10, false), polygon(1000, false)},
        {"edges crossing more scan lines", polygon(100, false), polygon(100, true)},
        {"a polygon framed as a region", polygon(100, true), polygon(100, true, 5, 22)},
        {"a polygon with a wide outline", polygon(100, true), polygon(100, true, 12, 12, 9)},
        {"more characters", text(10, 12), text(10000, 12)},
        {"larger glyphs", text(10, 12), text(10, 200)},
    };
    for (const auto& row : rows) {
        EXPECT_LT(drawingCost(row.less), drawingCost(row.more)) << row.what;
    }
}

TEST(DrawingCost, RecordsThatBuildNothingCostNothingAndEveryObjectSomething) {
    for (int8_t kind : {int8_t{7}, int8_t{8}, int8_t{127}, int8_t{-1}, int8_t{-128}}) {
        EXPECT_EQ(0u, drawingCost(record(kind, 255, 5, 22, 200))) << int(kind);
    }
    for (int8_t kind = ObjectKind::Polygon; kind <= ObjectKind::Text; ++kind) {
        // Even with nothing to show, drawing one is a call.
        EXPECT_GT(drawingCost(record(kind, 0, 255, 255, 0)), 0u) << int(kind);
    }
}

TEST(FrameBudget, TheFirstObjectOverTheBoundAndEverythingAfterItAreCut) {
    FrameBudget budget;
    EXPECT_TRUE(budget.admit(kFrameDrawingBound - 10));
    EXPECT_TRUE(budget.admit(10));  // exactly the bound is still drawn
    EXPECT_FALSE(budget.cut());
    EXPECT_FALSE(budget.admit(1));
    EXPECT_TRUE(budget.cut());
    EXPECT_FALSE(budget.admit(0)) << "nothing after the cut, however cheap";
    EXPECT_EQ(kFrameDrawingBound, budget.spent());

    FrameBudget another;
    EXPECT_FALSE(another.admit(kFrameDrawingBound + 1));
    EXPECT_FALSE(another.admit(1));
    EXPECT_EQ(0u, another.spent());
}

// How many objects of a group placed `placements` times a frame draws.
uint64_t drawnOf(const std::vector<ObjectRecord>& group, int placements) {
    FrameBudget budget;
    uint64_t drawn = 0;
    for (int p = 0; p < placements; ++p)
        for (const ObjectRecord& object : group) {
            if (!budget.admit(drawingCost(object))) return drawn;
            ++drawn;
        }
    return drawn;
}

TEST(FrameBudget, HostileFramesAreCutEarly) {
    // One block's worth of small rectangles placed 255 times: 637,500
    // objects asked for.
    const std::vector<ObjectRecord> rectangles(2500, record(ObjectKind::Rect, 4));
    EXPECT_LT(drawnOf(rectangles, 255), 50'000u);
    const std::vector<ObjectRecord> patterned(2500, record(ObjectKind::Rect, 4, 5, 22));
    EXPECT_LT(drawnOf(patterned, 255), 1'000u);
    // A polygon of 16,000 points zigzagging over the full height costs more
    // than a frame may draw: it is never drawn, wherever it is placed.
    EXPECT_EQ(0u, drawnOf({polygon(16000, true)}, 255));
    EXPECT_EQ(0u, drawnOf({polygon(16000, true, 5, 22)}, 255));
    EXPECT_EQ(0u, drawnOf({polygon(16000, false, 12, 12, 9)}, 255));
    // Wide arcs over the largest box.
    EXPECT_LT(drawnOf({record(ObjectKind::Arc, 255, 12, 12, 32)}, 255), 30u);
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every frame of the example movies, with the groups of the stream as it
// arrives (a group that comes again replaces the earlier one), costs less
// than a third of the bound.
TEST(FrameBudget, TheExampleMoviesAreDrawnWhole) {
    for (const char* name : {"showcase.vxa", "narrow.vxa", "wait-for-click.vxa"}) {
        SCOPED_TRACE(name);
        Stream stream;
        std::string error;
        ASSERT_TRUE(decodeStream(readFile(std::string(VXA_EXAMPLES) + "/" + name), stream, error)) << error;
        std::map<int16_t, uint64_t> groupCost;
        std::map<int16_t, std::vector<Item>> frames;
        uint64_t worst = 0;
        int framesCosted = 0;
        for (const Block& block : stream.blocks) {
            for (const GroupRecord& group : block.groups) {
                uint64_t cost = 0;
                for (const ObjectRecord& object : group.objects) cost += drawingCost(object);
                groupCost[group.id] = cost;
            }
            if (block.frame.number == 0) continue;
            std::vector<Item> items = block.frame.items;
            const std::vector<Item>& previous = frames[static_cast<int16_t>(block.frame.number - 1)];
            for (size_t i = 0; i < items.size(); ++i)
                if (items[i].presence == 0 && i < previous.size()) items[i] = previous[i];
            frames[block.frame.number] = items;
            uint64_t cost = 0;
            for (const Item& item : items) cost += groupCost[item.groupId];
            worst = std::max(worst, cost);
            ++framesCosted;
        }
        EXPECT_GT(framesCosted, 0);
        EXPECT_LT(worst, kFrameDrawingBound / 3) << "the costliest frame";
    }
}

}  // namespace
}  // namespace vxa
