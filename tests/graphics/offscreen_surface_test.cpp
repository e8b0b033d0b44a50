// The off-screen surface: its bitmap, the pens and brushes it adopts and
// deletes, and the copy into a real window.
#include <gtest/gtest.h>

#include "graphics/offscreen_surface.h"
#include "test_host_window.h"
#include "test_surface.h"

namespace {

TEST(OffscreenSurface, HoldsABitmapOfTheMovieSizeInTheReferenceFormat) {
    HDC screen = GetDC(nullptr);
    {
        OffscreenSurface surface(screen, RECT{0, 0, 320, 240}, OffscreenSurface::kPatternSheetId);
        ASSERT_TRUE(surface);
        BITMAP bitmap{};
        ASSERT_NE(0, GetObjectA(GetCurrentObject(surface.handle(), OBJ_BITMAP), sizeof bitmap, &bitmap));
        EXPECT_EQ(320, bitmap.bmWidth);
        EXPECT_EQ(240, bitmap.bmHeight);
        EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), bitmap.bmBitsPixel);
        EXPECT_EQ(0, surface.rect().left);
        EXPECT_EQ(240, surface.rect().bottom);

        BITMAP sheet{};
        ASSERT_NE(0, GetObjectA(surface.patternSheet(), sizeof sheet, &sheet));
        EXPECT_EQ(64, sheet.bmWidth);
        EXPECT_EQ(64, sheet.bmHeight);
        EXPECT_EQ(1, sheet.bmBitsPixel);  // so that brushes can colour it
    }
    ReleaseDC(nullptr, screen);
}

TEST(OffscreenSurface, AdoptingAPenDeletesThePreviousOneAndDestructionTheLast) {
    HPEN pens[3];
    HBITMAP bitmap;
    HBITMAP sheet;
    {
        TestSurface canvas;
        OffscreenSurface& surface = canvas.surface();
        HGDIOBJ ownPen = GetCurrentObject(surface.handle(), OBJ_PEN);
        bitmap = static_cast<HBITMAP>(GetCurrentObject(surface.handle(), OBJ_BITMAP));
        sheet = surface.patternSheet();
        for (int i = 0; i < 3; ++i) {
            fw::Pen pen(CreatePen(PS_SOLID, 1, RGB(i, 0, 0)));
            pens[i] = pen.handle();
            surface.adoptPen(pen);
            EXPECT_FALSE(pen) << "the surface owns the pen now";
            EXPECT_EQ(pens[i], GetCurrentObject(surface.handle(), OBJ_PEN));
        }
        EXPECT_EQ(0u, GetObjectType(pens[0]));
        EXPECT_EQ(0u, GetObjectType(pens[1]));
        EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(pens[2]));
        EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(ownPen));
    }
    EXPECT_EQ(0u, GetObjectType(pens[2]));
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(0u, GetObjectType(sheet));
}

TEST(OffscreenSurface, AdoptingBrushesAndStockObjects) {
    HBRUSH made;
    {
        TestSurface canvas;
        OffscreenSurface& surface = canvas.surface();
        fw::Brush first(CreateSolidBrush(RGB(1, 2, 3)));
        made = first.handle();
        surface.adoptBrush(first);
        fw::Brush stock(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
        surface.adoptBrush(stock);
        EXPECT_EQ(0u, GetObjectType(made));
        EXPECT_EQ(GetStockObject(NULL_BRUSH), GetCurrentObject(surface.handle(), OBJ_BRUSH));
        fw::Pen nullPen(static_cast<HPEN>(GetStockObject(NULL_PEN)));
        surface.adoptPen(nullPen);
        fw::Pen again(static_cast<HPEN>(GetStockObject(NULL_PEN)));
        surface.adoptPen(again);
    }
    // Deleting a stock object is ignored: it stays usable.
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(GetStockObject(NULL_PEN)));
}

TEST(OffscreenSurface, WithoutAContextNothingIsTakenOverAndNothingFails) {
    // A context that doesn't exist: no memory context can be made from it.
    HDC bogus = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x7ff0));
    fw::Pen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    {
        OffscreenSurface surface(bogus, RECT{0, 0, 10, 10}, OffscreenSurface::kPatternSheetId);
        ASSERT_FALSE(surface);
        surface.adoptPen(pen);
        surface.copyToWindow(nullptr, nullptr);
    }
    // The pen wasn't selected anywhere, so it stays with its owner.
    ASSERT_TRUE(pen);
    EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(pen.handle()));
}

Snapshot windowSnapshot(const TestHostWindow& window, int width, int height) {
    HDC context = GetDC(window.handle());
    Snapshot shot(context, width, height);
    ReleaseDC(window.handle(), context);
    return shot;
}

// Left half red, right half blue, one green pixel at the top left.
void paintHalves(TestSurface& canvas, int width, int height) {
    paint(canvas.dc(), RECT{0, 0, width / 2, height}, RGB(255, 0, 0));
    paint(canvas.dc(), RECT{width / 2, 0, width, height}, RGB(0, 0, 255));
    paint(canvas.dc(), RECT{0, 0, 1, 1}, RGB(0, 255, 0));
}

struct Pixel {
    int x, y;
    uint32_t rgb;
};

void expectPixels(const Snapshot& shot, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels) EXPECT_EQ(hex(p.rgb), hex(shot.at(p.x, p.y))) << "at " << p.x << "," << p.y;
}

TEST(OffscreenSurface, CopyWithoutTargetStretchesOverTheClientArea) {
    TestHostWindow window(100, 80);
    TestSurface canvas(50, 40);
    paintHalves(canvas, 50, 40);
    canvas.surface().copyToWindow(window.handle(), nullptr);
    const Snapshot shot = windowSnapshot(window, 100, 80);
    EXPECT_EQ("0,0,2,2", str(shot.boundsOf(0x00FF00)));
    expectPixels(shot, {{49, 79, 0xFF0000}, {50, 0, 0x0000FF}, {99, 79, 0x0000FF}});
}

TEST(OffscreenSurface, CopyIntoATargetOfTheSurfaceSizeIsOneToOne) {
    TestHostWindow window(100, 80);
    paint(GetDC(window.handle()), RECT{0, 0, 100, 80}, RGB(255, 255, 255));
    TestSurface canvas(50, 40);
    paintHalves(canvas, 50, 40);
    const RECT target{10, 20, 60, 60};
    canvas.surface().copyToWindow(window.handle(), &target);
    const Snapshot shot = windowSnapshot(window, 100, 80);
    expectPixels(shot, {{10, 20, 0x00FF00}, {11, 20, 0xFF0000}, {34, 59, 0xFF0000}, {35, 20, 0x0000FF},
                        {59, 59, 0x0000FF}, {9, 20, 0xFFFFFF}, {60, 59, 0xFFFFFF}, {10, 60, 0xFFFFFF}});
    EXPECT_EQ(1, shot.count(0x00FF00));
}

// A window that has gone (a null handle) gets no context: the platform would
// hand out the whole screen's, and the frame would land on the desktop.
TEST(OffscreenSurface, ANullWindowGetsNoContextAndNoCopy) {
    for (fw::WindowDC::Area area : {fw::WindowDC::Area::Client, fw::WindowDC::Area::Whole}) {
        fw::WindowDC none(nullptr, area);
        EXPECT_EQ(nullptr, none.handle());
    }
    HDC screen = GetDC(nullptr);
    const COLORREF before = GetPixel(screen, 3, 3);
    TestSurface canvas(50, 40);
    paintHalves(canvas, 50, 40);
    const RECT target{0, 0, 50, 40};
    canvas.surface().copyToWindow(nullptr, &target);
    EXPECT_EQ(before, GetPixel(screen, 3, 3));
    ReleaseDC(nullptr, screen);
}

}  // namespace
