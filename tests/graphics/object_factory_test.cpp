// Objects built from stream records: the conversions, the empty slots and
// the movie's bounds.
#include <gtest/gtest.h>

#include "graphics/arc_object.h"
#include "graphics/line_object.h"
#include "graphics/object_factory.h"
#include "graphics/oval_object.h"
#include "graphics/polygon_object.h"
#include "graphics/rect_object.h"
#include "graphics/round_rect_object.h"
#include "graphics/text_object.h"
#include "plugin/messages.h"
#include "surface_snapshot.h"

namespace {

vxa::ObjectRecord record(int8_t kind) {
    vxa::ObjectRecord r;
    r.kind = kind;
    r.left = 10;
    r.top = 10;
    r.right = 110;
    r.bottom = 60;
    r.fill1 = 0;    // index 255
    r.fill2 = 1;    // index 0
    r.line1 = 16;   // index 15
    r.line2 = 255;  // index 254
    r.fillPattern = 22;
    r.linePattern = 12;
    r.lineWidth = 3;
    r.reserved = 99;
    return r;
}

TEST(ObjectFactory, ConvertsTheHeaderColourBytesToIndices) {
    ObjectBuildContext context;
    const BuiltObject built = buildGraphicObject(record(vxa::ObjectKind::Rect), context);
    ASSERT_NE(nullptr, built.object);
    EXPECT_FALSE(built.overLimit);
    const ObjectHeader& h = built.object->header();
    EXPECT_EQ(3, built.object->kind());
    EXPECT_EQ("10,10,110,60", str(built.object->rect()));
    EXPECT_EQ(255, h.fillColor1);
    EXPECT_EQ(0, h.fillColor2);
    EXPECT_EQ(15, h.lineColor1);
    EXPECT_EQ(254, h.lineColor2);
    EXPECT_EQ(22, h.fillPattern);
    EXPECT_EQ(12, h.linePattern);
    EXPECT_EQ(3, h.lineWidth);
    EXPECT_EQ(13, built.object->innerRect().left);
}

TEST(ObjectFactory, EachKindBuildsItsClassWithItsPayload) {
    ObjectBuildContext context;
    vxa::ObjectRecord polygon = record(vxa::ObjectKind::Polygon);
    polygon.points = {{1, 2}, {255, 254}};
    auto built = buildGraphicObject(polygon, context);
    auto* p = dynamic_cast<PolygonObject*>(built.object.get());
    ASSERT_NE(nullptr, p);
    ASSERT_EQ(2, p->pointCount());
    EXPECT_EQ(255, p->points()[1].x);
    EXPECT_EQ(254, p->points()[1].y);

    EXPECT_NE(nullptr, dynamic_cast<LineObject*>(buildGraphicObject(record(1), context).object.get()));
    EXPECT_NE(nullptr, dynamic_cast<OvalObject*>(buildGraphicObject(record(2), context).object.get()));
    auto rect = buildGraphicObject(record(3), context);
    EXPECT_NE(nullptr, dynamic_cast<RectObject*>(rect.object.get()));
    EXPECT_EQ(nullptr, dynamic_cast<TextObject*>(rect.object.get()));

    vxa::ObjectRecord round = record(vxa::ObjectKind::RoundRect);
    round.cornerWidth = 200;
    round.cornerHeight = 7;
    built = buildGraphicObject(round, context);
    auto* r = dynamic_cast<RoundRectObject*>(built.object.get());
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(200, r->cornerWidth());
    EXPECT_EQ(7, r->cornerHeight());

    // The stream stores the sweep first; the arc takes the start angle first.
    vxa::ObjectRecord arc = record(vxa::ObjectKind::Arc);
    arc.sweep = 90;
    arc.startAngle = 0;
    built = buildGraphicObject(arc, context);
    auto* a = dynamic_cast<ArcObject*>(built.object.get());
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(60, a->startPoint().x);
    EXPECT_EQ(10, a->startPoint().y);
    EXPECT_EQ(110, a->endPoint().x);
    EXPECT_EQ(35, a->endPoint().y);

    vxa::ObjectRecord text = record(vxa::ObjectKind::Text);
    text.textColor = 0;
    text.style = 0x05;
    text.size = 12;
    text.justification = -1;
    text.fontName = "Times";
    text.text = "AB\rCD";
    built = buildGraphicObject(text, context);
    auto* t = dynamic_cast<TextObject*>(built.object.get());
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(255, t->textColor());
    EXPECT_EQ(-1, t->justification());
    EXPECT_STREQ("AB\r\nCD", t->text());
    LOGFONTA font{};
    GetObjectA(t->font(), sizeof font, &font);
    EXPECT_STREQ("Times New Roman", font.lfFaceName);
    EXPECT_EQ(-16, font.lfHeight);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
}

TEST(ObjectFactory, KindsWithoutAnObjectLeaveAnEmptySlot) {
    ObjectBuildContext context;
    for (int kind : {7, 8, 127, -1, -128}) {
        vxa::ObjectRecord r = record(static_cast<int8_t>(kind));
        r.skipped = "comment";
        const BuiltObject built = buildGraphicObject(r, context);
        EXPECT_EQ(nullptr, built.object) << kind;
        EXPECT_FALSE(built.overLimit) << kind;
    }
    EXPECT_EQ(0u, context.live().objects);
}

TEST(ObjectFactory, ObjectsPastTheBoundAreRefusedUntilOthersDie) {
    ObjectBuildContext::Amounts limits = ObjectBuildContext::kMovieLimits;
    limits.objects = 2;
    ObjectBuildContext context(limits);
    BuiltObject a = buildGraphicObject(record(3), context);
    BuiltObject b = buildGraphicObject(record(1), context);
    EXPECT_EQ(2u, context.live().objects);
    BuiltObject c = buildGraphicObject(record(2), context);
    EXPECT_TRUE(c.overLimit);
    EXPECT_EQ(nullptr, c.object);
    a.object.reset();
    EXPECT_EQ(1u, context.live().objects);
    BuiltObject d = buildGraphicObject(record(2), context);
    EXPECT_FALSE(d.overLimit);
    EXPECT_NE(nullptr, d.object);
}

TEST(ObjectFactory, PointsAndCharactersCountAgainstTheirBounds) {
    ObjectBuildContext::Amounts limits = ObjectBuildContext::kMovieLimits;
    limits.points = 10;
    limits.characters = 8;
    ObjectBuildContext context(limits);
    vxa::ObjectRecord polygon = record(vxa::ObjectKind::Polygon);
    polygon.points.assign(6, {1, 1});
    BuiltObject first = buildGraphicObject(polygon, context);
    EXPECT_EQ(6u, context.live().points);
    EXPECT_TRUE(buildGraphicObject(polygon, context).overLimit);
    polygon.points.resize(4);
    BuiltObject fits = buildGraphicObject(polygon, context);
    EXPECT_FALSE(fits.overLimit);
    EXPECT_EQ(10u, context.live().points);
    first.object.reset();
    EXPECT_EQ(4u, context.live().points);

    vxa::ObjectRecord text = record(vxa::ObjectKind::Text);
    text.fontName = "Geneva";
    text.text = "AB\rCD";  // 6 once expanded
    BuiltObject t = buildGraphicObject(text, context);
    EXPECT_FALSE(t.overLimit);
    EXPECT_EQ(6u, context.live().characters);
    text.text = "ABC";
    EXPECT_TRUE(buildGraphicObject(text, context).overLimit);
    t.object.reset();
    fits.object.reset();
    EXPECT_EQ(0u, context.live().points);
    EXPECT_EQ(0u, context.live().characters);
    EXPECT_EQ(0u, context.live().objects);
    EXPECT_EQ(0u, context.live().fonts);
}

TEST(ObjectFactory, TextPastTheFontBoundIsBuiltInTheSurfaceFont) {
    ObjectBuildContext::Amounts limits = ObjectBuildContext::kMovieLimits;
    limits.fonts = 0;
    ObjectBuildContext context(limits);
    vxa::ObjectRecord text = record(vxa::ObjectKind::Text);
    text.fontName = "Geneva";
    text.size = 9;
    text.text = "x";
    BuiltObject built = buildGraphicObject(text, context);
    EXPECT_FALSE(built.overLimit);
    ASSERT_NE(nullptr, built.object);
    EXPECT_EQ(nullptr, static_cast<TextObject*>(built.object.get())->font());
    ObjectBuildContext::FontNotice notice;
    ASSERT_TRUE(context.takeFontNotice(notice));
    EXPECT_STREQ(messages::kTooManyFonts, notice.message);
    EXPECT_EQ("MS Sans Serif", notice.faceName);
    EXPECT_EQ(9, notice.size);
}

TEST(ObjectFactory, MovieBoundsLieFarAboveRealMoviesAndBelowTheGdiQuota) {
    const ObjectBuildContext::Amounts& limits = ObjectBuildContext::kMovieLimits;
    EXPECT_EQ(1000000u, limits.objects);
    EXPECT_EQ(4000000u, limits.points);
    EXPECT_EQ(4000000u, limits.characters);
    EXPECT_LT(limits.fonts, 10000u / 4);
}

}  // namespace
