// Object groups drawn on a real surface: placement, the window origin, empty
// slots, and the objects' lives.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/tables/color_table.h"
#include "graphics/object_factory.h"
#include "graphics/palette.h"
#include "graphics/polygon_object.h"
#include "graphics/rect_object.h"
#include "movie/object_group.h"
#include "object_headers.h"
#include "test_surface.h"

namespace {

using namespace colors;

const uint32_t kBackground = rgbOfIndex(kGrey);

// Records where it was drawn (the surface's window origin) and its death.
class ProbeObject : public GraphicObject {
public:
    ProbeObject(std::vector<POINT>& origins, int& deaths)
        : GraphicObject(3, ObjectHeader{}), origins_(origins), deaths_(deaths) {}
    ~ProbeObject() override { ++deaths_; }
    void draw(OffscreenSurface& surface) override {
        POINT origin{};
        GetWindowOrgEx(surface.handle(), &origin);
        origins_.push_back(origin);
    }

private:
    std::vector<POINT>& origins_;
    int& deaths_;
};

// Exactly size x size pixels: a one-pixel outline in the fill's colour.
std::unique_ptr<GraphicObject> square(int left, int top, int size, int color) {
    return std::make_unique<RectObject>(
        3, makeHeader(left, top, left + size, top + size, Fill{12, color}, Line{12, color, color, 1}));
}

class ObjectGroupTest : public testing::Test {
protected:
    ObjectGroupTest() : canvas_(128, 96), palette_(createMoviePalette()) {
        canvas_.clear(colorForIndex(kGrey));
    }
    ~ObjectGroupTest() override {
        SelectPalette(canvas_.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        DeleteObject(palette_);
    }

    ObjectGroup group(std::vector<std::unique_ptr<GraphicObject>> objects, int16_t id = 1) {
        return ObjectGroup(id, 40, 30, std::move(objects), canvas_.surface(), palette_);
    }

    std::vector<std::unique_ptr<GraphicObject>> objects(std::unique_ptr<GraphicObject> a,
                                                        std::unique_ptr<GraphicObject> b = nullptr,
                                                        std::unique_ptr<GraphicObject> c = nullptr) {
        std::vector<std::unique_ptr<GraphicObject>> list;
        list.push_back(std::move(a));
        list.push_back(std::move(b));
        list.push_back(std::move(c));
        return list;
    }

    POINT origin() const {
        POINT point{};
        GetWindowOrgEx(canvas_.dc(), &point);
        return point;
    }

    TestSurface canvas_;
    HPALETTE palette_;
};

TEST_F(ObjectGroupTest, StartsAtItsExtentAndDrawsItsObjectsAtThePlacement) {
    std::vector<std::unique_ptr<GraphicObject>> list;
    list.push_back(square(0, 0, 10, kRed));
    list.push_back(square(5, 5, 10, kBlue));  // drawn later, over the red
    ObjectGroup g = group(std::move(list), 7);
    EXPECT_EQ(7, g.id());
    EXPECT_EQ("0,0,40,30", str(g.extent()));
    EXPECT_EQ("0,0,40,30", str(g.placement()));

    g.place(20, 30);
    EXPECT_EQ("20,30,60,60", str(g.placement()));
    const Snapshot shot = canvas_.snapshot();
    EXPECT_EQ("20,30,30,40", str(shot.boundsOf(rgbOfIndex(kRed))));
    const RECT blue = shot.boundsOf(rgbOfIndex(kBlue));
    EXPECT_EQ("25,35,35,45", str(blue));
    EXPECT_EQ(100 - 25, shot.count(rgbOfIndex(kRed)));
    EXPECT_EQ(palette_, GetCurrentObject(canvas_.dc(), OBJ_PAL));
}

TEST_F(ObjectGroupTest, RestoresTheWindowOriginItFound) {
    std::vector<POINT> origins;
    int deaths = 0;
    ObjectGroup g = group(objects(std::make_unique<ProbeObject>(origins, deaths)));
    g.place(12, -7);
    EXPECT_EQ(0, origin().x);
    EXPECT_EQ(0, origin().y);
    SetWindowOrgEx(canvas_.dc(), 5, 9, nullptr);
    g.place(-3, 4);
    EXPECT_EQ(5, origin().x);
    EXPECT_EQ(9, origin().y);
    ASSERT_EQ(2u, origins.size());
    EXPECT_EQ(-12, origins[0].x);
    EXPECT_EQ(7, origins[0].y);
    EXPECT_EQ(3, origins[1].x);
    EXPECT_EQ(-4, origins[1].y);
}

TEST_F(ObjectGroupTest, PlacedTwiceItDrawsTwiceAndEndsAtTheSecondPlace) {
    ObjectGroup g = group(objects(square(0, 0, 10, kRed)));
    g.place(0, 0);
    g.place(50, 40);
    const Snapshot shot = canvas_.snapshot();
    EXPECT_EQ(200, shot.count(rgbOfIndex(kRed)));
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(0, 0));
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(59, 49));
    EXPECT_EQ(50, g.placement().left);
    EXPECT_EQ(40, g.placement().top);
}

TEST_F(ObjectGroupTest, ANegativePlacementDrawsPartlyOutside) {
    ObjectGroup g = group(objects(square(0, 0, 10, kRed)));
    g.place(-5, -6);
    const Snapshot shot = canvas_.snapshot();
    EXPECT_EQ(5 * 4, shot.count(rgbOfIndex(kRed)));
    EXPECT_EQ(rgbOfIndex(kRed), shot.at(0, 0));
}

TEST_F(ObjectGroupTest, PlacementsFarApartLandWhereAsked) {
    ObjectGroup g = group(objects(square(0, 0, 10, kRed)));
    g.place(-30000, -30000);
    g.place(30000, 20);
    EXPECT_EQ(30000, g.placement().left);
    EXPECT_EQ(30040, g.placement().right);
    g.place(10, 20);
    EXPECT_EQ(10, g.placement().left);
    EXPECT_EQ(rgbOfIndex(kRed), canvas_.snapshot().at(10, 20));
}

TEST_F(ObjectGroupTest, AnEmptyGroupDrawsNothing) {
    ObjectGroup g = group({});
    EXPECT_EQ(0u, g.objectCount());
    SetWindowOrgEx(canvas_.dc(), 2, 3, nullptr);
    g.place(10, 10);
    EXPECT_EQ(2, origin().x);
    EXPECT_EQ(3, origin().y);
    SetWindowOrgEx(canvas_.dc(), 0, 0, nullptr);
    EXPECT_EQ(128 * 96, canvas_.snapshot().count(kBackground));
}

TEST_F(ObjectGroupTest, EmptySlotsAreSkipped) {
    std::vector<POINT> origins;
    int deaths = 0;
    {
        std::vector<std::unique_ptr<GraphicObject>> list;
        list.push_back(nullptr);
        list.push_back(square(0, 0, 10, kRed));
        list.push_back(nullptr);
        list.push_back(std::make_unique<ProbeObject>(origins, deaths));
        ObjectGroup g = group(std::move(list));
        EXPECT_EQ(4u, g.objectCount());
        EXPECT_EQ(nullptr, g.object(0));
        g.place(30, 30);
        EXPECT_EQ(100, canvas_.snapshot().count(rgbOfIndex(kRed)));
        EXPECT_EQ(1u, origins.size());
    }
    EXPECT_EQ(1, deaths);
}

TEST_F(ObjectGroupTest, DestroyingTheGroupDestroysEachObjectOnce) {
    std::vector<POINT> origins;
    int deaths = 0;
    {
        ObjectGroup g = group(objects(std::make_unique<ProbeObject>(origins, deaths),
                                      std::make_unique<ProbeObject>(origins, deaths),
                                      std::make_unique<ProbeObject>(origins, deaths)));
        g.place(0, 0);
        EXPECT_EQ(3u, origins.size());
        EXPECT_EQ(0, deaths);
    }
    EXPECT_EQ(3, deaths);
}

TEST_F(ObjectGroupTest, ObjectsBuiltForAMovieGiveBackTheirShareWithTheGroup) {
    ObjectBuildContext context;
    vxa::ObjectRecord polygon;
    polygon.kind = vxa::ObjectKind::Polygon;
    polygon.points = {{0, 0}, {20, 0}, {20, 20}};
    {
        std::vector<std::unique_ptr<GraphicObject>> list;
        list.push_back(buildGraphicObject(polygon, context).object);
        list.push_back(buildGraphicObject(polygon, context).object);
        ObjectGroup g = group(std::move(list));
        EXPECT_EQ(2u, context.live().objects);
        EXPECT_EQ(6u, context.live().points);
    }
    EXPECT_EQ(0u, context.live().objects);
    EXPECT_EQ(0u, context.live().points);
}

TEST_F(ObjectGroupTest, RegionDrawnPolygonsFollowThePlacementToo) {
    const POINT triangle[] = {{0, 0}, {20, 0}, {20, 20}};
    std::vector<std::unique_ptr<GraphicObject>> list;
    list.push_back(std::make_unique<PolygonObject>(
        0, makeHeader(0, 0, 20, 20, Fill{12, kBlue}, Line{22, kRed, kGreen, 2}), 3, triangle));
    ObjectGroup g = group(std::move(list));
    g.place(60, 50);
    const Snapshot shot = canvas_.snapshot();
    const RECT blue = shot.boundsOf(rgbOfIndex(kBlue));
    EXPECT_GE(blue.left, 60);
    EXPECT_GE(blue.top, 50);
    EXPECT_LE(blue.right, 80);
    EXPECT_LE(blue.bottom, 70);
    const RECT frame = shot.boundsOf(rgbOfIndex(kRed));
    EXPECT_GE(frame.left, 60);
    EXPECT_GE(frame.top, 50);
}

}  // namespace
