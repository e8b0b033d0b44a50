#include "test_surface.h"

#include "core/tables/color_table.h"
#include "object_headers.h"

TestSurface::TestSurface(int width, int height, int patternSheetId)
    : width_(width), height_(height), screen_(GetDC(nullptr)) {
    surface_ = std::make_unique<OffscreenSurface>(screen_, RECT{0, 0, width, height}, patternSheetId);
}

TestSurface::~TestSurface() {
    surface_.reset();
    ReleaseDC(nullptr, screen_);
}

void TestSurface::clear(COLORREF color) { paint(dc(), RECT{0, 0, width_, height_}, color); }

Snapshot TestSurface::drawn(GraphicObject& object) {
    clear(colorForIndex(colors::kGrey));
    object.draw(surface());
    return snapshot();
}
