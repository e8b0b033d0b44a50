// Wide outlines painted from their recording: the same pixels as the call
// itself, wherever the object is placed, and within the surface's budget.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/arc_object.h"
#include "graphics/oval_object.h"
#include "graphics/recorded_outline.h"
#include "object_headers.h"
#include "test_surface.h"

namespace {

using namespace colors;

// Draws the object with its group placed at (x, y) on a cleared surface.
Snapshot placed(TestSurface& canvas, GraphicObject& object, int x, int y) {
    canvas.clear(RGB(192, 192, 192));
    SetWindowOrgEx(canvas.dc(), -x, -y, nullptr);
    object.draw(canvas.surface());
    SetWindowOrgEx(canvas.dc(), 0, 0, nullptr);
    return canvas.snapshot();
}

struct Case {
    const char* name;
    int kind;  // 2 oval, 5 arc
    ObjectHeader header;
    int16_t start = 0, sweep = 0;
};

std::unique_ptr<GraphicObject> make(const Case& c) {
    if (c.kind == 2) return std::make_unique<OvalObject>(2, c.header);
    return std::make_unique<ArcObject>(5, c.header, c.start, c.sweep);
}

bool recorded(const GraphicObject& object) {
    if (auto oval = dynamic_cast<const OvalObject*>(&object)) return oval->outlineRecorded();
    return static_cast<const ArcObject&>(object).outlineRecorded();
}

TEST(RecordedOutline, PaintsWhatTheCallPaintsWhereverPlaced) {
    const Case cases[] = {
        {"oval, checkered fill, pen 2", 2, makeHeader(3, 4, 83, 64, Fill{22, kBlack, kWhite}, Line{12, kRed, kBlue, 2})},
        {"oval, solid fill, second-colour pen 4", 2,
         makeHeader(0, 0, 41, 90, Fill{12, kYellow}, Line{0, kRed, kBlue, 4})},
        {"oval, no fill, pen 7", 2, makeHeader(10, 5, 120, 70, Fill{}, Line{12, kGreen, kBlue, 7})},
        {"small oval, patterned fill, pen 3", 2, makeHeader(20, 20, 31, 29, Fill{5, kRed, kGreen}, Line{12, kBlue, kRed, 3})},
        {"quarter arc, pen 2", 5, makeHeader(10, 10, 110, 60, Fill{}, Line{12, kRed, kRed, 2}), 0, 90},
        {"long arc, pen 5", 5, makeHeader(0, 0, 90, 90, Fill{}, Line{5, kBlue, kRed, 5}), 30, 300},
        {"full ellipse as an arc, pen 3", 5, makeHeader(5, 7, 70, 50, Fill{}, Line{0, kRed, kGreen, 3}), 45, 0},
    };
    const POINT placements[] = {{0, 0}, {37, 21}, {101, 3}, {-15, 60}};
    for (const Case& c : cases) {
        TestSurface canvas(256, 160);
        const std::unique_ptr<GraphicObject> object = make(c);
        for (const POINT& at : placements) {
            const std::unique_ptr<GraphicObject> drawnOnce = make(c);
            const Snapshot expected = placed(canvas, *drawnOnce, at.x, at.y);
            EXPECT_TRUE(expected == placed(canvas, *object, at.x, at.y))
                << c.name << " at " << at.x << "," << at.y << (recorded(*object) ? " (recorded)" : "");
        }
        EXPECT_TRUE(recorded(*object)) << c.name;
    }
}

TEST(RecordedOutline, RecordingsStayWithinTheBudgetAndGiveItBack) {
    TestSurface canvas(128, 96);
    const auto& budget = canvas.surface().recordingBudget();
    const size_t full = budget->left();
    const ObjectHeader header = makeHeader(10, 10, 100, 80, Fill{12, kYellow}, Line{12, kRed, kRed, 3});
    auto oval = std::make_unique<OvalObject>(2, header);
    for (int i = 0; i < 3; ++i) oval->draw(canvas.surface());
    ASSERT_TRUE(oval->outlineRecorded());
    EXPECT_LT(budget->left(), full);
    oval.reset();
    EXPECT_EQ(full, budget->left());

    // Without room, the call is made every time.
    const auto empty = std::make_shared<RecordingBudget>(0);
    RecordedOutline outline;
    int calls = 0;
    for (int i = 0; i < 3; ++i) {
        outline.draw(canvas.dc(), RECT{10, 10, 100, 80}, 3, RGB(1, 2, 3), false, empty, [&](HDC context) {
            ++calls;
            Ellipse(context, 10, 10, 100, 80);
        });
    }
    EXPECT_FALSE(outline.recorded());
    EXPECT_EQ(3, calls);
}

}  // namespace
