// Frame composition cost: a 640 x 480 frame of 500 mixed graphic objects
// (every kind, patterned fills and lines, text) composed on the movie's
// off-screen surface, with pens and brushes made afresh for every object as
// playback does, against one full-frame copy of that surface into a real
// window and against the 20-ms timer period that paces playback. A profile
// follows: each object of the frame drawn alone and timed, summed by kind
// and by how its line is drawn, and the unit cost of the pens and brushes
// the objects make. The two ratios printed last are the figures to watch.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_scene.h"
#include "core/tables/color_table.h"
#include "graphics/object_factory.h"
#include "graphics/offscreen_surface.h"
#include "graphics/palette.h"
#include "graphics/oval_object.h"
#include "graphics/rect_object.h"
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

// The CPU time this thread has used: unlike the clock, it doesn't count the
// time other programs on a loaded machine take from it. Coarse (the system
// counts it in ticks), so it is only read around many frames.
double threadCpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

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


// How an object's line is drawn, which decides most of its cost.
std::string lineClass(const vxa::ObjectRecord& r) {
    if (r.kind == vxa::ObjectKind::Line) return r.linePattern == 255 ? "none" : "pen";
    if (r.linePattern == 255) return "no line";
    if (r.linePattern == 0 || r.linePattern == 12) return r.lineWidth < 2 ? "pen 1" : "wide pen";
    return "patterned line";
}

const char* kindName(int8_t kind) {
    static const char* const names[] = {"polygon", "line", "oval", "rect", "round rect", "arc", "text"};
    return names[kind];
}

// Each object of the frame drawn alone, where the frame places it, timed one
// by one over several frames; text is also drawn as the rectangle under it,
// so that the text itself shows apart.
void profile(OffscreenSurface& surface, HPALETTE palette) {
    struct Placed {
        std::string bucket;
        int x, y;
        std::unique_ptr<GraphicObject> object;
    };
    ObjectBuildContext context;
    context.keepFontsRealizedFor(surface.handle());
    std::vector<Placed> placed;
    int seed = 0;
    for (int g = 0; g < kColumns * kRows; ++g) {
        for (int8_t kind : kMix) {
            const vxa::ObjectRecord record = objectRecord(kind, ++seed);
            const int x = g % kColumns * kGroupWidth, y = g / kColumns * kGroupHeight;
            auto built = buildGraphicObject(record, context);
            if (kind == vxa::ObjectKind::Text) {
                placed.push_back({"text: its box", x, y, std::make_unique<RectObject>(3, built.object->header())});
                placed.push_back({"text: box and words", x, y, std::move(built.object)});
            } else {
                placed.push_back({std::string(kindName(kind)) + ", " + lineClass(record), x, y, std::move(built.object)});
            }
        }
    }
    HDC dc = surface.handle();
    SelectPalette(dc, palette, FALSE);
    // Each object's median over the frames: a stray pause of the machine
    // lands in one draw and would otherwise count for a whole bucket.
    constexpr int kFrames = 9;
    std::vector<std::vector<double>> times(placed.size());
    for (int frame = 0; frame < kFrames + 2; ++frame) {
        for (size_t i = 0; i < placed.size(); ++i) {
            Placed& p = placed[i];
            SetWindowOrgEx(dc, -p.x, -p.y, nullptr);
            Stopwatch watch;
            p.object->draw(surface);
            GdiFlush();
            // The first draws make recordings and realize fonts.
            if (frame >= 2) times[i].push_back(watch.milliseconds());
        }
    }
    std::map<std::string, std::pair<double, int>> buckets;
    for (size_t i = 0; i < placed.size(); ++i) {
        std::sort(times[i].begin(), times[i].end());
        buckets[placed[i].bucket].first += times[i][kFrames / 2];
        buckets[placed[i].bucket].second += 1;
    }
    SetWindowOrgEx(dc, 0, 0, nullptr);
    double total = 0;
    for (const auto& [name, cost] : buckets) {
        if (name != "text: its box") total += cost.first;
    }
    std::printf("profile, each object drawn alone (ms per frame, objects, share of %.1f ms):\n", total);
    for (const auto& [name, cost] : buckets) {
        std::printf("  %-26s %7.3f ms %4d %5.1f%%\n", name.c_str(), cost.first, cost.second,
                    100.0 * cost.first / total);
    }

    // Unit costs of what objects make on every draw.
    constexpr int kMakes = 1000;
    auto unit = [&](const char* what, auto make) {
        // The best of several batches, for the same reason.
        double best = 1e9;
        for (int batch = 0; batch < 5; ++batch) {
            Stopwatch watch;
            for (int i = 0; i < kMakes / 5; ++i) make(i);
            GdiFlush();
            best = std::min(best, 1000.0 * watch.milliseconds() / (kMakes / 5));
        }
        std::printf("  %-40s %7.2f us\n", what, best);
    };
    std::printf("unit costs:\n");
    unit("pen made, selected, deleted", [&](int i) {
        fw::Pen pen(CreatePen(PS_INSIDEFRAME, 1 + i % 4, colorForIndex(i % 256)));
        surface.adoptPen(pen);
    });
    unit("solid brush made, selected, deleted", [&](int i) {
        fw::Brush brush(CreateSolidBrush(colorForIndex(i % 256)));
        surface.adoptBrush(brush);
    });
    unit("pattern brush made, selected, deleted", [&](int i) {
        fw::Brush brush;
        surface.makePatternBrush(static_cast<int16_t>(1 + i % 63), i % 256, (i * 7) % 256, brush);
        surface.adoptBrush(brush);
    });
    fw::Pen none(static_cast<HPEN>(GetStockObject(NULL_PEN)));
    surface.adoptPen(none);

    // A caption as the text objects draw it, in one font and in two fonts
    // taking turns (each text object selects its own).
    auto makeFont = [](int height, int weight, bool italic, const char* face) {
        return fw::Font(CreateFontA(-height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, face));
    };
    fw::Font serif = makeFont(12, FW_NORMAL, false, "Liberation Serif");
    fw::Font boldItalic = makeFont(15, FW_BOLD, true, "Liberation Sans");
    HGDIOBJ previousFont = SelectObject(dc, serif.handle());
    SetBkMode(dc, TRANSPARENT);
    char caption[] = "Frame caption\r\nsecond line of words";
    constexpr UINT kFormat = DT_WORDBREAK | DT_NOPREFIX;
    auto drawCaption = [&](UINT extra) {
        RECT box{0, 0, 90, 60};
        DrawTextA(dc, caption, -1, &box, kFormat | extra);
    };
    unit("DrawText, layout only (DT_CALCRECT)", [&](int) { drawCaption(DT_CALCRECT); });
    unit("DrawText", [&](int) { drawCaption(0); });
    unit("ExtTextOut of its two lines", [&](int) {
        ExtTextOutA(dc, 0, 0, 0, nullptr, caption, 13, nullptr);
        ExtTextOutA(dc, 0, 14, 0, nullptr, caption + 15, 20, nullptr);
    });
    unit("two fonts selected in turn", [&](int i) { SelectObject(dc, i % 2 ? boldItalic.handle() : serif.handle()); });
    unit("DrawText, two fonts in turn", [&](int i) {
        SelectObject(dc, i % 2 ? boldItalic.handle() : serif.handle());
        drawCaption(0);
    });
    SelectObject(dc, boldItalic.handle());
    unit("DrawText, bold italic", [&](int) { drawCaption(0); });
    SelectObject(dc, previousFont);

    {
        fw::Pen pen(CreatePen(PS_INSIDEFRAME, 3, RGB(200, 0, 0)));
        surface.adoptPen(pen);
        unit("Ellipse 80 x 60, pen 3", [&](int) { Ellipse(dc, 0, 0, 80, 60); });
        unit("Arc 80 x 60, pen 3", [&](int) { Arc(dc, 0, 0, 80, 60, 0, 0, 80, 60); });
        unit("Rectangle 80 x 60, pen 3", [&](int) { Rectangle(dc, 0, 0, 80, 60); });
        OvalObject oval(2, ObjectHeader{0, 0, 80, 60, 5, 0, 17, 23, 5, 12, 3});
        unit("oval object 80 x 60, pen 3, recorded", [&](int) { oval.draw(surface); });
        surface.adoptPen(none);
    }
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
    double composeCpuMs = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double cpuBefore = threadCpuMilliseconds();
        Stopwatch composing;
        for (int i = 0; i < kFramesPerRound; ++i) compose();
        composeMs.push_back(composing.milliseconds() / kFramesPerRound);
        composeCpuMs += threadCpuMilliseconds() - cpuBefore;
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
    std::printf("compose one frame, CPU time of the drawing thread: %.3f ms (mean of %d frames)\n",
                composeCpuMs / (kRounds * kFramesPerRound), kRounds * kFramesPerRound);
    std::printf("full-frame copy to the window: %.3f ms (median of %d rounds of %d copies)\n", copyTime, kRounds,
                kCopiesPerRound);
    profile(*surface, palette);
    std::printf("compose 500 objects/full-frame copy: %.2f\n", composeTime / copyTime);
    std::printf("compose 500 objects/timer period: %.2f\n", composeTime / kTimerPeriodMs);
    std::printf("compose 500 objects (CPU time)/timer period: %.2f\n",
                composeCpuMs / (kRounds * kFramesPerRound) / kTimerPeriodMs);

    groups.clear();
    surface.reset();
    DeleteObject(palette);
    DestroyWindow(window);
    return 0;
}
