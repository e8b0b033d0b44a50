// Text objects: font names and sizes as created, line breaks, layout and
// alignment as drawn, and a font that can't be made.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/tables/color_table.h"
#include "graphics/font_mapping.h"
#include "core/tables/line_breaks.h"
#include "graphics/object_build_context.h"
#include "graphics/rect_object.h"
#include "graphics/text_object.h"
#include "object_headers.h"
#include "plugin/messages.h"
#include "test_surface.h"

namespace {

using namespace colors;

const uint32_t kInk = 0x000000;  // text colour kBlack

struct Text {
    int style = 0;
    int size = 20;
    int justification = 0;
    const char* font = "Geneva";
    const char* text = "I";
};

TextObject makeText(ObjectBuildContext& context, const ObjectHeader& header, const Text& t) {
    return TextObject(6, header, kBlack, t.style, t.size, t.justification, t.font, t.text, context);
}

std::unique_ptr<TextObject> newText(ObjectBuildContext& context, const ObjectHeader& header, const Text& t) {
    return std::make_unique<TextObject>(6, header, kBlack, t.style, t.size, t.justification, t.font, t.text,
                                        context);
}

ObjectHeader plainBox(int left, int top, int right, int bottom) {
    return makeHeader(left, top, right, bottom, Fill{}, Line{255, kRed, kRed, 0});
}

// Runs of rows that hold ink: one per line of text.
int inkLines(const Snapshot& shot) {
    int lines = 0;
    bool previous = false;
    for (int y = 0; y < shot.height(); ++y) {
        const bool ink = shot.count(kInk, RECT{0, y, shot.width(), y + 1}) > 0;
        lines += ink && !previous;
        previous = ink;
    }
    return lines;
}

LOGFONTA fontOf(const TextObject& text) {
    LOGFONTA font{};
    GetObjectA(text.font(), sizeof font, &font);
    return font;
}

TEST(TextObject, CreatesItsFontWithTheMappedFaceAndHeight) {
    ObjectBuildContext context;
    struct Case {
        const char* name;
        int size;
        const char* face;
        int height;
    } cases[] = {
        {"Times", 12, "Times New Roman", -16},
        {"Times", 13, "Times New Roman", -15},
        {"Geneva", 9, "MS Sans Serif", -11},
        {"Chicago", 12, "System", -14},
    };
    for (const Case& c : cases) {
        Text t;
        t.font = c.name;
        t.size = c.size;
        const TextObject text = makeText(context, plainBox(0, 0, 10, 10), t);
        ASSERT_NE(nullptr, text.font()) << c.name;
        const LOGFONTA font = fontOf(text);
        EXPECT_STREQ(c.face, font.lfFaceName);
        EXPECT_EQ(c.height, font.lfHeight) << c.name << " " << c.size;
        EXPECT_EQ(0, font.lfWidth);
        EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
        EXPECT_EQ(OUT_TT_PRECIS, font.lfOutPrecision);
        EXPECT_EQ(FF_ROMAN | DEFAULT_PITCH, font.lfPitchAndFamily);
        EXPECT_EQ(1u, context.live().fonts);
    }
    EXPECT_EQ(0u, context.live().fonts);
}

TEST(TextObject, StyleBitsAreBoldItalicUnderline) {
    ObjectBuildContext context;
    struct Case {
        int style;
        LONG weight;
        BYTE italic, underline;
    } cases[] = {{0x05, FW_BOLD, 0, 1}, {0x08, FW_NORMAL, 0, 0}, {0x02, FW_NORMAL, 1, 0}, {0xFF, FW_BOLD, 1, 1}};
    for (const Case& c : cases) {
        Text t;
        t.style = c.style;
        const LOGFONTA font = fontOf(makeText(context, plainBox(0, 0, 10, 10), t));
        EXPECT_EQ(c.weight, font.lfWeight) << c.style;
        EXPECT_EQ(c.italic, font.lfItalic ? 1 : 0) << c.style;
        EXPECT_EQ(c.underline, font.lfUnderline ? 1 : 0) << c.style;
        EXPECT_FALSE(font.lfStrikeOut);
    }
}

TEST(LineBreaks, EveryCarriageReturnGainsALineFeed) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"AB\rCD", "AB\r\nCD"}, {"\r\n", "\r\n\n"}, {"", ""},        {"\r", "\r\n"},
                 {"\r\r", "\r\n\r\n"},   {"x\ny", "x\ny"},   {"a\r", "a\r\n"}};
    for (const Case& c : cases) {
        std::vector<char> buffer(std::strlen(c.in) + countCarriageReturns(c.in) + 1, '#');
        std::memcpy(buffer.data(), c.in, std::strlen(c.in) + 1);
        expandLineBreaks(buffer.data());
        EXPECT_STREQ(c.out, buffer.data());
    }
    // The longest text a stream can hold, all carriage returns.
    const std::string many(32766, '\r');
    std::vector<char> buffer(2 * many.size() + 1);
    std::memcpy(buffer.data(), many.c_str(), many.size() + 1);
    expandLineBreaks(buffer.data());
    std::string expected;
    for (size_t i = 0; i < many.size(); ++i) expected += "\r\n";
    EXPECT_EQ(expected, std::string(buffer.data()));
}

TEST(TextObject, CarriageReturnsAreExpandedAndDrawnAsTwoLines) {
    ObjectBuildContext context;
    TestSurface canvas(128, 96);
    Text t;
    t.text = "AB\rCD";
    TextObject text = makeText(context, plainBox(10, 10, 120, 90), t);
    EXPECT_EQ(6, text.textLength());
    EXPECT_STREQ("AB\r\nCD", text.text());
    EXPECT_EQ(2, inkLines(canvas.drawn(text)));
    t.text = "ABCD";
    TextObject single = makeText(context, plainBox(10, 10, 120, 90), t);
    EXPECT_EQ(1, inkLines(canvas.drawn(single)));
}

TEST(TextObject, LongTextWrapsAtWordsWithinTheLayoutRectangle) {
    ObjectBuildContext context;
    TestSurface canvas(128, 128);
    Text t;
    t.text = "wrap these words into lines";
    TextObject text = makeText(context, plainBox(10, 10, 70, 120), t);
    const Snapshot shot = canvas.drawn(text);
    EXPECT_GE(inkLines(shot), 3);
    const RECT ink = shot.boundsOf(kInk);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 70);
}

TEST(TextObject, JustificationPlacesTheInk) {
    ObjectBuildContext context;
    TestSurface canvas(128, 64);
    auto inkFor = [&](int justification) {
        Text t;
        t.justification = justification;
        TextObject text = makeText(context, plainBox(10, 10, 110, 50), t);
        return canvas.drawn(text).boundsOf(kInk);
    };
    const RECT left = inkFor(0);
    EXPECT_LT(left.left, 20);
    const RECT centred = inkFor(1);
    EXPECT_NEAR(60, (centred.left + centred.right) / 2, 4);
    const RECT right = inkFor(-1);
    EXPECT_GT(right.right, 100);
    EXPECT_LE(right.right, 110);
    for (int other : {-2, 7, 2}) {
        const RECT ink = inkFor(other);
        EXPECT_EQ(left.left, ink.left) << other;
        EXPECT_EQ(left.right, ink.right) << other;
    }
}

TEST(TextObject, LayoutRectangleIsTheBoxGrownByTheLineWidth) {
    ObjectBuildContext context;
    Text t;
    t.text = "__________";
    t.style = 0x04;  // underlined: ink from the very left of the layout
    const ObjectHeader header = makeHeader(10, 10, 100, 40, Fill{}, Line{12, kRed, kRed, 2});
    TextObject text = makeText(context, header, t);
    EXPECT_EQ("8,8,102,42", str(text.textRect()));
    TestSurface canvas(128, 64);
    const Snapshot shot = canvas.drawn(text);
    EXPECT_EQ(8, shot.boundsOf(kInk).left);  // left of the box drawn from the same header
    EXPECT_EQ(10, shot.boundsOf(rgbOfIndex(kRed)).left);
}

TEST(TextObject, DrawsItsBoxFirstAndLeavesTheBackgroundModeTransparent) {
    ObjectBuildContext context;
    TestSurface canvas(128, 64);
    const ObjectHeader header = makeHeader(10, 10, 100, 50, Fill{12, kYellow}, Line{12, kRed, kRed, 2});
    Text t;
    t.text = "";
    TextObject empty = makeText(context, header, t);
    RectObject box(3, header);
    const Snapshot boxOnly = canvas.drawn(box);
    const Snapshot emptyText = canvas.drawn(empty);
    EXPECT_EQ(boxOnly.count(rgbOfIndex(kYellow)), emptyText.count(rgbOfIndex(kYellow)));
    EXPECT_EQ(boxOnly.count(rgbOfIndex(kRed)), emptyText.count(rgbOfIndex(kRed)));

    t.text = "Ink";
    TextObject text = makeText(context, header, t);
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), RGB(0, 255, 0));
    const COLORREF textColor = SetTextColor(canvas.dc(), RGB(1, 2, 3));
    const HGDIOBJ font = GetCurrentObject(canvas.dc(), OBJ_FONT);
    const Snapshot shot = canvas.drawn(text);
    EXPECT_GT(shot.count(kInk), 0);
    EXPECT_EQ(0, shot.count(0x00FF00));  // no opaque background behind the text
    EXPECT_EQ(TRANSPARENT, GetBkMode(canvas.dc()));
    EXPECT_EQ(RGB(1, 2, 3), GetTextColor(canvas.dc()));
    EXPECT_EQ(font, GetCurrentObject(canvas.dc(), OBJ_FONT));
    (void)textColor;
}

TEST(TextObject, AFontPastTheBoundIsNotedOncePerMovieAndTheTextStillDraws) {
    ObjectBuildContext::Amounts limits = ObjectBuildContext::kMovieLimits;
    limits.fonts = 1;
    ObjectBuildContext movie(limits);
    ObjectBuildContext::FontNotice notice;
    Text t;
    t.font = "Times";
    t.size = 12;
    t.text = "Ink";
    TextObject first = makeText(movie, plainBox(10, 10, 120, 60), t);
    TextObject sameFont = makeText(movie, plainBox(10, 10, 120, 60), t);
    EXPECT_NE(nullptr, first.font());
    EXPECT_EQ(first.font(), sameFont.font()) << "a font the movie has takes nothing of the bound";
    EXPECT_FALSE(movie.takeFontNotice(notice));

    t.size = 13;
    TextObject second = makeText(movie, plainBox(10, 10, 120, 60), t);
    EXPECT_EQ(nullptr, second.font());
    ASSERT_TRUE(movie.takeFontNotice(notice));
    EXPECT_STREQ(messages::kTooManyFonts, notice.message);
    EXPECT_EQ("Times New Roman", notice.faceName);
    EXPECT_EQ(13, notice.size);
    EXPECT_TRUE(movie.fontFailureNoted());

    t.size = 24;
    TextObject third = makeText(movie, plainBox(10, 10, 120, 60), t);
    EXPECT_EQ(nullptr, third.font());
    EXPECT_FALSE(movie.takeFontNotice(notice)) << "one notice per movie";

    TestSurface canvas(128, 64);
    EXPECT_GT(canvas.drawn(second).count(kInk), 0);

    // Another movie notes its own failure.
    limits.fonts = 0;
    ObjectBuildContext other(limits);
    TextObject fourth = makeText(other, plainBox(10, 10, 120, 60), t);
    EXPECT_TRUE(other.takeFontNotice(notice));
}

// One font per distinct face, size and style, shared by the movie's text
// objects and deleted with the last of them; the bound counts distinct fonts.
TEST(TextObject, TextObjectsShareTheMoviesFontOfTheirFaceSizeAndStyle) {
    ObjectBuildContext::Amounts limits = ObjectBuildContext::kMovieLimits;
    limits.fonts = 4;
    ObjectBuildContext movie(limits);
    const struct {
        const char* font;
        int size, style;
    } kinds[] = {{"Geneva", 20, 0}, {"Geneva", 21, 0}, {"Geneva", 20, 1}, {"Times", 20, 0}};
    std::vector<std::unique_ptr<TextObject>> texts;
    for (int copy = 0; copy < 3; ++copy) {
        for (const auto& kind : kinds) {
            Text t;
            t.font = kind.font;
            t.size = kind.size;
            t.style = kind.style;
            texts.push_back(newText(movie, plainBox(0, 0, 9, 9), t));
        }
    }
    EXPECT_EQ(4u, movie.live().fonts);
    for (size_t i = 0; i < texts.size(); ++i) {
        ASSERT_NE(nullptr, texts[i]->font()) << i;
        for (size_t j = 0; j < i; ++j) EXPECT_EQ(i % 4 == j % 4, texts[i]->font() == texts[j]->font()) << i << " " << j;
    }
    // The first kind's font lives on in its last two users, then goes.
    const HFONT firstKind = texts[0]->font();
    texts[0].reset();
    EXPECT_EQ(4u, movie.live().fonts);
    EXPECT_EQ(OBJ_FONT, static_cast<DWORD>(GetObjectType(firstKind)));
    texts[4].reset();
    texts[8].reset();
    EXPECT_EQ(3u, movie.live().fonts);
    EXPECT_EQ(0u, static_cast<DWORD>(GetObjectType(firstKind)));
    // Its place in the bound is free again, and asking for it makes it anew.
    Text again;
    TextObject remade = makeText(movie, plainBox(0, 0, 9, 9), again);
    EXPECT_NE(nullptr, remade.font());
    EXPECT_EQ(4u, movie.live().fonts);
    EXPECT_FALSE(movie.fontFailureNoted());
}

// Fonts kept realized for a surface draw the same pixels, and no more are
// kept than the bound allows.
TEST(TextObject, KeptFontsDrawTheSameAndAreBounded) {
    TestSurface canvas(128, 64);
    ObjectBuildContext plain;
    ObjectBuildContext keeping;
    keeping.keepFontsRealizedFor(canvas.dc());
    Text t;
    t.text = "Kept ink, wrapped into lines";
    TextObject unkept = makeText(plain, plainBox(4, 4, 120, 60), t);
    TextObject kept = makeText(keeping, plainBox(4, 4, 120, 60), t);
    EXPECT_EQ(0u, plain.keptFonts());
    EXPECT_EQ(1u, keeping.keptFonts());
    const Snapshot expected = canvas.drawn(unkept);
    EXPECT_TRUE(expected == canvas.drawn(kept)) << "a kept font draws other pixels";

    std::vector<std::unique_ptr<TextObject>> many;
    for (int size = 1; size <= static_cast<int>(ObjectBuildContext::kKeptFonts) + 5; ++size) {
        t.size = size;
        many.push_back(newText(keeping, plainBox(0, 0, 9, 9), t));
    }
    EXPECT_EQ(ObjectBuildContext::kKeptFonts, keeping.keptFonts());
    many.clear();
    EXPECT_EQ(1u, keeping.keptFonts());
}

}  // namespace
