// The longest timer step the worst streams we can build cost the module:
// frames that ask for far more drawing than a frame may do (a block's worth
// of objects placed 255 times, in every kind that is dear to draw), played
// through the built module, loaded as a browser loads it. The drawing budget
// cuts each frame; what is left is the step's time. The figure to watch is
// printed last: the worst step's thread time against the 20-ms timer period.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "message_box_watcher.h"
#include "module_clock.h"
#include "core/format/block.h"
#include "core/format/block_encoder.h"
#include "core/format/header.h"
#include "plugin/npapi.h"
#include "plugin_library.h"
#include "step_timing.h"

namespace {

constexpr double kTimerPeriodMs = 20.0;
constexpr int kStepsPerStream = 8;

// The host's load average, read through Wine's view of the Unix root.
std::string loadAverage() {
    char text[64] = "unknown";
    if (FILE* file = std::fopen("Z:\\proc\\loadavg", "r")) {
        if (!std::fgets(text, sizeof text, file)) std::snprintf(text, sizeof text, "unknown");
        std::fclose(file);
    }
    std::string first(text);
    return first.substr(0, first.find(' ', first.find(' ') + 1));
}

void* hostAlloc(uint32_t size) { return std::malloc(size); }
void hostFree(void* memory) { std::free(memory); }

vxa::ObjectRecord shape(int8_t kind, uint8_t size, uint8_t fill, uint8_t line, uint8_t width) {
    vxa::ObjectRecord o;
    o.kind = kind;
    o.right = size;
    o.bottom = size;
    o.fill1 = 36;
    o.fill2 = 211;
    o.line1 = 1;
    o.line2 = 100;
    o.fillPattern = fill;
    o.linePattern = line;
    o.lineWidth = width;
    return o;
}

// One group of as many copies of an object as a block holds, placed 255
// times in each of four looping frames.
std::vector<uint8_t> hostileStream(const vxa::ObjectRecord& object, int16_t width, int16_t height) {
    vxa::Header header;
    header.width = width;
    header.height = height;
    header.background = 1;
    header.frameRate = 50;
    header.loop = 1;
    header.groupCount = 1;
    header.frameCount = 8;
    std::vector<uint8_t> bytes;
    vxa::encodeHeader(header, bytes);
    vxa::Block groups;
    groups.groups.resize(1);
    groups.groups[0].id = 1;
    groups.groups[0].widthMinus1 = 255;
    groups.groups[0].heightMinus1 = 255;
    for (;;) {
        groups.groups[0].objects.push_back(object);
        std::vector<uint8_t> probe;
        try {
            vxa::encodeBlock(groups, vxa::Layout::Wide, probe);
        } catch (const std::invalid_argument&) {
            groups.groups[0].objects.pop_back();
            break;
        }
    }
    vxa::encodeBlock(groups, vxa::Layout::Wide, bytes);
    for (int16_t n = 1; n <= 8; ++n) {
        vxa::Block frame;
        frame.frame.number = n;
        for (int i = 0; i < 255; ++i) {
            vxa::Item item;
            item.groupId = 1;
            item.x = static_cast<int16_t>(i * 37 % 400);
            item.y = static_cast<int16_t>(i * 53 % 240);
            frame.frame.items.push_back(item);
        }
        vxa::encodeBlock(frame, vxa::Layout::Wide, bytes);
    }
    return bytes;
}

struct Hostile {
    std::string name;
    vxa::ObjectRecord object;
    int16_t width = 640, height = 480;
};

std::vector<Hostile> hostileObjects() {
    std::vector<Hostile> all;
    all.push_back({"small solid rectangles", shape(3, 4, 12, 255, 0)});
    all.push_back({"rectangles with nothing to show", shape(3, 4, 255, 255, 0)});
    all.push_back({"patterned rings", shape(3, 64, 5, 22, 1)});
    all.push_back({"large patterned ovals", shape(2, 255, 5, 255, 1)});
    all.push_back({"large solid ovals", shape(2, 255, 12, 12, 1)});
    all.push_back({"ovals with a wide pen", shape(2, 255, 255, 12, 16)});
    vxa::ObjectRecord arc = shape(5, 255, 255, 12, 32);
    arc.startAngle = 10;
    arc.sweep = 300;
    all.push_back({"arcs with a wide pen", arc});
    all.push_back({"round rectangles with a wide pen", [] {
                       vxa::ObjectRecord r = shape(4, 255, 12, 12, 128);
                       r.cornerWidth = 100;
                       r.cornerHeight = 60;
                       return r;
                   }()});
    all.push_back({"lines with a wide pen", shape(1, 255, 255, 12, 255)});
    uint32_t state = 1;
    const auto randomByte = [&state]() {
        state = state * 1103515245u + 12345u;
        return static_cast<uint8_t>(state >> 16);
    };
    for (int points : {16000, 1000, 100, 20}) {
        for (int variant = 0; variant < 3; ++variant) {
            vxa::ObjectRecord polygon = shape(0, 255, variant == 1 ? 255 : 5, variant == 2 ? 22 : 12, variant == 1 ? 9 : 1);
            for (int i = 0; i < points; ++i) polygon.points.push_back({randomByte(), randomByte()});
            all.push_back({"polygons of " + std::to_string(points) + " random points, " +
                               (variant == 0 ? "filled" : variant == 1 ? "open with a wide pen" : "as regions"),
                           polygon});
        }
    }
    for (int characters : {2000, 100}) {
        vxa::ObjectRecord text = shape(6, 200, 255, 255, 0);
        text.fontName = "Times";
        text.size = 12;
        text.textColor = 1;
        for (int i = 0; i < characters; ++i) text.text.push_back(i % 7 == 6 ? ' ' : static_cast<char>('a' + i % 26));
        all.push_back({"texts of " + std::to_string(characters) + " characters", text});
    }
    // Every frame fills and copies the whole picture, whatever it holds: the
    // dearest kinds again in the largest picture a movie may ask for.
    for (size_t i = 0, kinds = all.size(); i < kinds; ++i) {
        if (all[i].name != "lines with a wide pen" && all[i].name != "rectangles with nothing to show") continue;
        Hostile large = all[i];
        large.name += ", 4096 x 4096 pixels";
        large.width = large.height = 4096;
        all.push_back(large);
    }
    return all;
}

LRESULT CALLBACK hostProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, id, wParam, lParam);
}

}  // namespace

int main() {
    PluginLibrary library;
    std::string error;
    std::string path = ZURED16_DLL;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    if (!library.load(path, error) || !moduleclock::takeOver(library.module())) {
        std::fprintf(stderr, "worst_step_bench: %s\n", error.c_str());
        return 1;
    }
    NPPluginFuncs plugin{};
    if (!library.startWithMemory(plugin, hostAlloc, hostFree)) {
        std::fprintf(stderr, "worst_step_bench: the module did not start\n");
        return 1;
    }
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = hostProcedure;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.lpszClassName = "zured16.BenchHost";
    RegisterClassA(&hostClass);
    // The movie's notice that part of it can't be shown comes once per
    // movie; it is answered at once.
    std::optional<MessageBoxWatcher> answer(std::in_place);
    double worst = 0;
    double worstWall = 0;
    std::string worstName;
    for (const Hostile& hostile : hostileObjects()) {
        const std::vector<uint8_t> stream = hostileStream(hostile.object, hostile.width, hostile.height);
        HWND window = CreateWindowExA(0, hostClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                      nullptr, nullptr, hostClass.hInstance, nullptr);
        NPP_t instance{};
        NPStream npStream{};
        NPWindow record{};
        record.window = window;
        uint16_t type = 0;
        plugin.newp(const_cast<char*>("video/vxa"), &instance, NP_EMBED, 0, nullptr, nullptr, nullptr);
        plugin.setwindow(&instance, &record);
        plugin.newstream(&instance, const_cast<char*>("video/vxa"), &npStream, 0, &type);
        plugin.write(&instance, &npStream, 0, static_cast<int32_t>(stream.size()), const_cast<uint8_t*>(stream.data()));
        plugin.destroystream(&instance, &npStream, NPRES_DONE);
        double longest = 0;
        double longestThread = 0;
        for (int step = 0; step < kStepsPerStream; ++step) {
            moduleclock::advance(20);
            const double start = wallMs();
            const double thread = threadMs();
            SendMessageA(window, WM_TIMER, 1000, 0);
            longest = std::max(longest, wallMs() - start);
            longestThread = std::max(longestThread, threadMs() - thread);
        }
        std::printf("%-56s longest step %6.0f ms of thread time, %7.1f ms wall\n", hostile.name.c_str(),
                    longestThread, longest);
        std::fflush(stdout);
        if (longestThread > worst) {
            worst = longestThread;
            worstWall = longest;
            worstName = hostile.name;
        }
        plugin.destroy(&instance, nullptr);
        DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    answer.reset();
    library.shutdown();
    // Thread time is what the step asks of the machine; the wall time of a
    // machine that others share says more about them.
    std::printf("worst: %s, %.0f ms of thread time (%.0f ms wall, load average %s)\n", worstName.c_str(), worst,
                worstWall, loadAverage().c_str());
    std::printf("worst step/timer period: %.2f\n", worst / kTimerPeriodMs);
    return 0;
}
