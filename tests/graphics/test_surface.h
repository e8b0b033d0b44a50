#pragma once
// An off-screen surface made as the movie makes it, against a display
// context (the screen's: 24-bit true colour under the test display), with the
// pattern sheet loaded from the test program's own resources.
#include <windows.h>

#include <memory>

#include "graphics/graphic_object.h"
#include "graphics/offscreen_surface.h"
#include "surface_snapshot.h"

class TestSurface {
public:
    explicit TestSurface(int width = 64, int height = 64, int patternSheetId = OffscreenSurface::kPatternSheetId);
    ~TestSurface();
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    OffscreenSurface& surface() { return *surface_; }
    HDC dc() const { return surface_->handle(); }
    void clear(COLORREF color);
    Snapshot snapshot() const { return Snapshot(dc(), width_, height_); }
    // The object drawn alone on the drawing tests' grey background.
    Snapshot drawn(GraphicObject& object);

private:
    int width_;
    int height_;
    HDC screen_;
    std::unique_ptr<OffscreenSurface> surface_;
};
