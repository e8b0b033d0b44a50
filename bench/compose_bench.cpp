// Frame composition cost: a 640 x 480 frame of 500 mixed graphic objects
// (every kind, patterned fills and lines, text) composed on the movie's
// off-screen surface, with pens and brushes made afresh for every object as
// playback does, against one full-frame copy of that surface into a real
// window and against the 20-ms timer period that paces playback. The two
// ratios printed last are the figures to watch.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench_scene.h"
#include "graphics/tables/color_table.h"
#include "graphics/object_factory.h"
#include "graphics/offscreen_surface.h"
#include "graphics/palette.h"
#include "movie/object_group.h"

namespace {

using namespace bench_scene;

constexpr double kTimerPeriodMs = 20.0;

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double milliseconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

HWND createWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "zured16 compose bench";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "compose", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                  kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    UpdateWindow(window);
    return window;
}

}  // namespace

int main() {
    HWND window = createWindow();
    if (!window) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }
    HPALETTE palette = createMoviePalette();
    HDC windowContext = GetDC(window);
    SelectPalette(windowContext, palette, FALSE);
    RealizePalette(windowContext);
    auto surface = std::make_unique<OffscreenSurface>(windowContext, RECT{0, 0, kWidth, kHeight},
                                                      OffscreenSurface::kPatternSheetId);
    ReleaseDC(window, windowContext);

    ObjectBuildContext context;
    context.keepFontsRealizedFor(surface->handle());
    std::vector<std::unique_ptr<ObjectGroup>> groups;
    int seed = 0;
    for (int g = 0; g < kColumns * kRows; ++g) {
        std::vector<std::unique_ptr<GraphicObject>> objects;
        for (int8_t kind : kMix) objects.push_back(buildGraphicObject(objectRecord(kind, ++seed), context).object);
        groups.push_back(std::make_unique<ObjectGroup>(static_cast<int16_t>(g + 1), kGroupWidth, kGroupHeight, std::move(objects),
                                                       *surface, palette));
    }

    const RECT whole{0, 0, kWidth, kHeight};
    auto compose = [&]() {
        fw::Brush background(CreateSolidBrush(colorForIndex(kBackgroundIndex)));
        FillRect(surface->handle(), &whole, background.handle());
        for (int g = 0; g < kColumns * kRows; ++g) {
            groups[g]->place(static_cast<int16_t>(g % kColumns * kGroupWidth), static_cast<int16_t>(g / kColumns * kGroupHeight));
        }
        GdiFlush();
    };
    auto copy = [&]() {
        surface->copyToWindow(window, nullptr);
        GdiFlush();
    };

    for (int i = 0; i < 3; ++i) {
        compose();
        copy();
    }

    // Medians of several rounds, so that a stray pause of the machine
    // doesn't decide the figure.
    constexpr int kRounds = 7;
    constexpr int kFramesPerRound = 10;
    constexpr int kCopiesPerRound = 50;
    std::vector<double> composeMs, copyMs;
    for (int round = 0; round < kRounds; ++round) {
        Stopwatch composing;
        for (int i = 0; i < kFramesPerRound; ++i) compose();
        composeMs.push_back(composing.milliseconds() / kFramesPerRound);
        Stopwatch copying;
        for (int i = 0; i < kCopiesPerRound; ++i) copy();
        copyMs.push_back(copying.milliseconds() / kCopiesPerRound);
    }
    std::sort(composeMs.begin(), composeMs.end());
    std::sort(copyMs.begin(), copyMs.end());
    const double composeTime = composeMs[kRounds / 2];
    const double copyTime = copyMs[kRounds / 2];

    std::printf("objects per frame: %d (%u built, %u points, %u fonts)\n", kObjects, context.live().objects,
                context.live().points, context.live().fonts);
    std::printf("compose one %d x %d frame: %.3f ms (median of %d rounds of %d frames)\n", kWidth, kHeight,
                composeTime, kRounds, kFramesPerRound);
    std::printf("full-frame copy to the window: %.3f ms (median of %d rounds of %d copies)\n", copyTime, kRounds,
                kCopiesPerRound);
    std::printf("compose 500 objects/full-frame copy: %.2f\n", composeTime / copyTime);
    std::printf("compose 500 objects/timer period: %.2f\n", composeTime / kTimerPeriodMs);

    groups.clear();
    surface.reset();
    DeleteObject(palette);
    DestroyWindow(window);
    return 0;
}
