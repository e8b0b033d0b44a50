// Whole-module fuzzing under Wine: zured16.dll loaded once, as a browser
// loads it, and stream after stream played through it, each as one
// instance's whole life: NPP_New, NPP_SetWindow, NPP_NewStream, the stream
// written in chunks of random sizes, NPP_DestroyStream, timer steps with
// clicks, ESC and repaints among them, and the end at a random point: plain,
// from inside the plug-in's message pump, from inside one of its message
// boxes, or by the host destroying its window. Boxes are answered.
//
// It counts the streams played, times every step (wall and thread time),
// and compares the process's GDI objects, windows and committed memory
// before and after; the host's memory service counts what it hands out.
//
//   module_fuzz [--seconds N (0: until stopped)] [--streams N] [--seed S]
//               [--only I] [--report SECONDS] [--save DIR]
//
// Stream I of seed S is the same stream with the same calls on every run:
// --seed S --only I plays it again. A crash or a hang saves the stream being
// played in DIR.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_streams.h"
#include "install_directory.h"
#include "message_box_watcher.h"
#include "module_clock.h"
#include "core/format/header.h"
#include "plugin/npapi.h"
#include "plugin_library.h"
#include "step_timing.h"
#include "process_figures.h"

namespace {

constexpr double kStepBoundMs = 250.0;  // the drawing budget's aim per step
constexpr UINT_PTR kPlaybackTimer = 1000;
constexpr UINT kEndRequest = WM_APP + 7;
// Streams played before the figures are taken: what Wine and the module
// set up once (fonts, the MCI driver, caches) is not growth.
constexpr long kWarmUpStreams = 300;
// Wine makes some GDI objects of its own once per process, when a path
// first needs them, and keeps the window DCs it lends in a cache that only
// grows, three objects a DC. Stream 601 of seed 5 (a box while a visible window
// plays sounds) adds one although the module's own DC calls balance, and
// playing it 340 times adds nothing more; a 54,000-stream run saw five such
// steps, at streams 404, 13725, 51569, 51570 and 53621. So the figures are
// sampled as the run goes, and GDI objects count as kept when the second half
// of the measured streams adds more than a few such steps: objects that a
// stream in a thousand kept would add dozens there in a long run.
constexpr long kWineStepsAllowed = 5 * 3;
constexpr long kSampleEvery = 50;

std::string windowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// --- the host's memory service --------------------------------------------

long gAllocations = 0;
long gFrees = 0;
void* hostAlloc(uint32_t size) {
    ++gAllocations;
    return std::malloc(size);
}
void hostFree(void* memory) {
    ++gFrees;
    std::free(memory);
}

// --- what the run counts ---------------------------------------------------

struct Totals {
    long streams = 0;
    long steps = 0;
    long overBound = 0;
    double longestWall = 0;
    double longestThread = 0;
    long boxes = 0;
    long endedInBox = 0;
    long endedInPump = 0;
    long windowsDestroyed = 0;
    // Where the time went, in seconds of wall time.
    double inSteps = 0;
    double inWrites = 0;
    double inLife = 0;  // the rest of the instances' lives, windows included
};

// --- what a crash or a hang leaves ----------------------------------------

struct Current {
    const Bytes* stream = nullptr;
    unsigned seed = 0;
    long index = 0;
    std::string saveDir;
    std::atomic<double> stepStarted{0};
};
Current gCurrent;

void saveCurrent(const char* why) {
    std::fprintf(stderr, "module_fuzz: %s in stream %ld of seed %u (replay: --seed %u --only %ld)\n", why,
                 gCurrent.index, gCurrent.seed, gCurrent.seed, gCurrent.index);
    if (gCurrent.stream && !gCurrent.saveDir.empty()) {
        const std::string path = gCurrent.saveDir + "\\" + why + "-" + std::to_string(gCurrent.seed) + "-" +
                                 std::to_string(gCurrent.index) + ".vxa";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(gCurrent.stream->data()), static_cast<long>(gCurrent.stream->size()));
        std::fprintf(stderr, "module_fuzz: stream saved as %s\n", path.c_str());
    }
    std::fflush(stderr);
}

LONG WINAPI onCrash(EXCEPTION_POINTERS* exception) {
    std::fprintf(stderr, "module_fuzz: exception 0x%08lx at %p\n", exception->ExceptionRecord->ExceptionCode,
                 exception->ExceptionRecord->ExceptionAddress);
    saveCurrent("crash");
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A step that never returns would stop the run without a word.
DWORD WINAPI watchdog(void*) {
    for (;;) {
        Sleep(1000);
        const double started = gCurrent.stepStarted.load();
        if (started > 0 && wallMs() - started > 60000) {
            saveCurrent("hang");
            TerminateProcess(GetCurrentProcess(), 4);
        }
    }
}

// --- one instance's life ------------------------------------------------------

enum class End { Plain, InPump, InBox, HostWindowGone };

class Session;
Session* gSession = nullptr;

class Session {
public:
    Session(const NPPluginFuncs& plugin, const Bytes& stream, Random& random, Totals& totals,
            const std::string& installDir, HWND ender)
        : plugin_(plugin), stream_(stream), random_(random), totals_(totals), installDir_(installDir), ender_(ender) {
        gSession = this;
    }
    ~Session() { gSession = nullptr; }

    void run();
    // A message box of the module came up.
    void boxSeen();
    void endNow();

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    void step();
    void drain();
    // Counts a timer step or a repaint that took so long.
    void timed(double wall, double thread);
    void write(size_t from, size_t length);
    bool alive() const { return created_ && !ended_; }

    const NPPluginFuncs& plugin_;
    const Bytes& stream_;
    Random& random_;
    Totals& totals_;
    const std::string& installDir_;

    NPP_t instance_{};
    NPStream npStream_{};
    NPWindow record_{};
    HWND host_ = nullptr;
    // Ends the instance when the module's pump dispatches its message.
    HWND ender_;
    bool created_ = false;
    bool ended_ = false;
    End end_ = End::Plain;
    int endAtStep_ = -1;
    int endAtBox_ = -1;
    int steps_ = 0;
    int boxes_ = 0;
    std::unique_ptr<InstallDirectory> installation_;
    size_t headerBytes_ = SIZE_MAX;
    bool withSounds_ = false;
};

LRESULT CALLBACK enderProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    if (id == kEndRequest) {
        if (gSession) gSession->endNow();
        return 0;
    }
    return DefWindowProcA(window, id, wParam, lParam);
}

void Session::endNow() {
    if (!alive()) return;
    if (end_ == End::HostWindowGone) {
        if (host_ && IsWindow(host_)) {
            DestroyWindow(host_);
            ++totals_.windowsDestroyed;
        }
        host_ = nullptr;
        end_ = End::Plain;  // the instance itself ends at the end of the session
        return;
    }
    ended_ = true;
    plugin_.destroy(&instance_, nullptr);
    installation_.reset();
}

void Session::boxSeen() {
    ++totals_.boxes;
    if (++boxes_ == endAtBox_ && end_ == End::InBox && alive()) {
        ++totals_.endedInBox;
        endNow();
    }
}

void Session::drain() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        const double wall0 = wallMs(), thread0 = threadMs();
        gCurrent.stepStarted = wall0;
        DispatchMessageA(&message);
        gCurrent.stepStarted = 0;
        if (message.message == WM_TIMER || message.message == WM_PAINT) timed(wallMs() - wall0, threadMs() - thread0);
    }
}

void Session::timed(double wall, double thread) {
    totals_.longestWall = std::max(totals_.longestWall, wall);
    totals_.longestThread = std::max(totals_.longestThread, thread);
    if (thread > kStepBoundMs) {
        ++totals_.overBound;
        std::fprintf(stderr, "module_fuzz: a step took %.0f ms of thread time (%.0f ms wall)\n", thread, wall);
        saveCurrent("slow");
    }
}

void Session::step() {
    ++steps_;
    ++totals_.steps;
    moduleclock::advance(20);
    if (!alive()) return;
    if (host_) {
        if (chance(0.02)) {
            PostMessageA(host_, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(host_, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        }
        if (chance(0.03)) {
            PostMessageA(host_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageA(host_, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        }
        if (chance(0.03)) InvalidateRect(host_, nullptr, FALSE);
    }
    if (steps_ == endAtStep_ && end_ == End::InPump) {
        ++totals_.endedInPump;
        PostMessageA(ender_, kEndRequest, 0, 0);
    }
    if (host_) {
        const double wall0 = wallMs(), thread0 = threadMs();
        gCurrent.stepStarted = wall0;
        SendMessageA(host_, WM_TIMER, kPlaybackTimer, 0);
        gCurrent.stepStarted = 0;
        const double wall = wallMs() - wall0;
        totals_.inSteps += wall / 1000;
        timed(wall, threadMs() - thread0);
    }
    const double drained = wallMs();
    drain();
    totals_.inSteps += (wallMs() - drained) / 1000;
    if (steps_ == endAtStep_ && (end_ == End::Plain || end_ == End::HostWindowGone)) endNow();
}

void Session::write(size_t from, size_t length) {
    if (!alive()) return;
    if (plugin_.writeready(&instance_, &npStream_) <= 0) return;
    // The plug-in reads the registry value with the header. A third of the
    // instances find the browser's installation and its sounds; the others
    // play silently, as without one.
    if (from < headerBytes_ && withSounds_ && !installation_)
        installation_ = std::make_unique<InstallDirectory>(installDir_.c_str());
    const double wall0 = wallMs();
    gCurrent.stepStarted = wall0;
    plugin_.write(&instance_, &npStream_, static_cast<int32_t>(from), static_cast<int32_t>(length),
                  const_cast<uint8_t*>(stream_.data() + from));
    gCurrent.stepStarted = 0;
    totals_.inWrites += (wallMs() - wall0) / 1000;
    if (from + length >= headerBytes_) installation_.reset();
}

void Session::run() {
    vxa::Header header;
    if (vxa::decodeHeader(stream_.data(), stream_.size(), header) == vxa::HeaderStatus::Complete)
        headerBytes_ = vxa::headerSize(header.layout);
    // Mostly hidden: drawing is the same, and a window shown on the display
    // costs trips to it that have nothing to do with the module.
    host_ = CreateWindowExA(0, "zured16.FuzzHost", "", WS_POPUP | (chance(0.1) ? WS_VISIBLE : 0), 0, 0,
                            between(1, 320), between(1, 240), nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const int totalSteps = between(0, 24);
    withSounds_ = chance(0.3);
    end_ = static_cast<End>(between(0, 3));
    endAtStep_ = chance(0.7) ? between(1, std::max(1, totalSteps)) : -1;
    endAtBox_ = between(1, 3);

    created_ = plugin_.newp(const_cast<char*>("video/vxa"), &instance_, static_cast<uint16_t>(chance(0.9) ? NP_EMBED : NP_FULL),
                            0, nullptr, nullptr, nullptr) == NPERR_NO_ERROR;
    if (created_) {
        record_.window = chance(0.03) ? nullptr : host_;
        record_.width = 320;
        record_.height = 240;
        plugin_.setwindow(&instance_, &record_);
        if (!record_.window) {
            record_.window = host_;
            plugin_.setwindow(&instance_, &record_);
        }
        uint16_t type = 0;
        plugin_.newstream(&instance_, const_cast<char*>("video/vxa"), &npStream_, 0, &type);
        // The stream in chunks of random sizes, with steps between them.
        const size_t chunk = chance(0.3) ? stream_.size() : static_cast<size_t>(between(1, chance(0.5) ? 64 : 4096));
        for (size_t from = 0; from < stream_.size() && alive();) {
            const size_t length = std::min(stream_.size() - from, std::max<size_t>(1, chunk / 2 + static_cast<size_t>(between(0, static_cast<int>(chunk)))));
            write(from, length);
            from += length;
            if (chance(0.2) && steps_ < totalSteps) step();
        }
        if (alive() && chance(0.95))
            plugin_.destroystream(&instance_, &npStream_, chance(0.9) ? NPRES_DONE : NPRES_NETWORK_ERR);
        installation_.reset();
        if (alive() && chance(0.05)) plugin_.setwindow(&instance_, &record_);
        while (steps_ < totalSteps) step();
        drain();
        if (alive()) {
            ended_ = true;
            plugin_.destroy(&instance_, nullptr);
        }
        drain();
    }
    installation_.reset();
    if (host_ && IsWindow(host_)) DestroyWindow(host_);
    drain();
}

void registerClasses() {
    WNDCLASSA host{};
    host.lpfnWndProc = DefWindowProcA;
    host.hInstance = GetModuleHandleA(nullptr);
    host.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    host.lpszClassName = "zured16.FuzzHost";
    RegisterClassA(&host);
    WNDCLASSA ender = host;
    ender.lpfnWndProc = enderProcedure;
    ender.lpszClassName = "zured16.FuzzEnder";
    RegisterClassA(&ender);
}

const char* const kSoundFiles[] = {"1.WAV", "2.WAV", "3.WAV", "4.WAV"};

// A short sound of silence: 8-bit mono PCM at 11,025 Hz. Under Wine an MCI
// stop waits for the buffers the sound output has queued to play out, so the
// example sounds (over a second each) would spend most of the run waiting.
void writeSilence(const std::string& path, uint32_t milliseconds) {
    const uint32_t rate = 11025, samples = rate * milliseconds / 1000;
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    const std::string wave = "RIFF" + u32(36 + samples) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) +
                             u32(rate) + u16(1) + u16(8) + "data" + u32(samples) + std::string(samples, '\x80');
    std::ofstream(path, std::ios::binary).write(wave.data(), static_cast<long>(wave.size()));
}

// A browser installation with sounds, where the plug-in looks.
std::string makeInstallation() {
    // Near the root: the plug-in looks up every component of the path.
    std::string install = "C:\\zured16 fuzz " + std::to_string(GetCurrentProcessId());
    std::string folder = install;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* part : {"\\PROGRAM", "\\PLUGINS", "\\VXA_WAV"}) {
        folder += part;
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    uint32_t milliseconds = 10;
    for (const char* name : kSoundFiles) writeSilence(folder + "\\" + name, milliseconds *= 2);
    return install;
}

void removeInstallation(const std::string& install) {
    std::string folder = install + "\\PROGRAM\\PLUGINS\\VXA_WAV";
    for (const char* name : kSoundFiles) DeleteFileA((folder + "\\" + name).c_str());
    for (int level = 0; level < 4; ++level) {
        RemoveDirectoryA(folder.c_str());
        folder.erase(folder.rfind('\\'));
    }
}

void report(const char* when, const Totals& totals, double seconds, const ProcessFigures& figures) {
    std::printf("%s: %ld streams in %.0f s (%.1f/s), %ld steps, longest %.1f ms wall / %.1f ms thread, "
                "over %.0f ms: %ld, boxes %ld, gdi objects %ld, windows %ld, committed %.1f MB\n",
                when, totals.streams, seconds, seconds > 0 ? totals.streams / seconds : 0.0, totals.steps,
                totals.longestWall, totals.longestThread, kStepBoundMs, totals.overBound, totals.boxes,
                figures.gdiObjects, figures.windows, figures.committedBytes / 1048576.0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 60;
    long maxStreams = -1;
    long only = -1;
    unsigned seed = GetTickCount();
    double reportEvery = 60;
    std::string saveDir = ".";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--seconds") seconds = std::atof(value);
        else if (option == "--streams") maxStreams = std::atol(value);
        else if (option == "--seed") seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
        else if (option == "--only") only = std::atol(value);
        else if (option == "--report") reportEvery = std::atof(value);
        else if (option == "--save") saveDir = windowsPath(value);
        else {
            std::fprintf(stderr, "module_fuzz: unknown option %s\n", option.c_str());
            return 2;
        }
    }
    gCurrent.seed = seed;
    gCurrent.saveDir = saveDir;
    SetUnhandledExceptionFilter(onCrash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    CloseHandle(CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr));

    PluginLibrary library;
    std::string error;
    if (!library.load(windowsPath(ZURED16_DLL), error)) {
        std::fprintf(stderr, "module_fuzz: %s\n", error.c_str());
        return 2;
    }
    if (!moduleclock::takeOver(library.module())) {
        std::fprintf(stderr, "module_fuzz: the module does not import GetTickCount\n");
        return 2;
    }
    NPPluginFuncs plugin{};
    if (!library.startWithMemory(plugin, hostAlloc, hostFree)) {
        std::fprintf(stderr, "module_fuzz: the module did not start\n");
        return 2;
    }
    registerClasses();
    const std::string examples = windowsPath(VXA_EXAMPLES);
    const std::string installDir = makeInstallation();
    std::vector<Bytes> seeds;
    for (const char* name : {"showcase.vxa", "narrow.vxa", "wait-for-click.vxa"}) seeds.push_back(readFile(examples + "\\" + name));
    StreamMaker maker(seeds);
    HWND ender = CreateWindowExA(0, "zured16.FuzzEnder", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    Totals totals;
    MessageBoxWatcher watcher(true, [](const SeenBox&) {
        if (gSession) gSession->boxSeen();
    });

    const double start = wallMs();
    double lastReport = start;
    std::vector<ProcessFigures> samples;  // from the end of the warm-up, every kSampleEvery streams
    long lastGdiObjects = 0;
    for (long index = 0;; ++index) {
        if (only >= 0 && index > only) break;
        if (maxStreams >= 0 && totals.streams >= maxStreams) break;
        if (only < 0 && seconds > 0 && wallMs() - start > seconds * 1000) break;
        // Every stream from a random source of its own: one of them can be
        // played again alone.
        Random random(seed * 2654435761u + static_cast<unsigned>(index));
        const Bytes stream = maker.make(random);
        if (only >= 0 && index != only) continue;
        gCurrent.stream = &stream;
        gCurrent.index = index;
        {
            const double began = wallMs();
            const double busy = totals.inSteps + totals.inWrites;
            Session session(plugin, stream, random, totals, installDir, ender);
            session.run();
            totals.inLife += (wallMs() - began) / 1000 - (totals.inSteps + totals.inWrites - busy);
        }
        watcher.clear();
        ++totals.streams;
        if (totals.streams >= kWarmUpStreams) {
            // Every change is named with the stream after which it was seen,
            // so that a step can be played again alone.
            const ProcessFigures now = measureProcess();
            if (!samples.empty() && now.gdiObjects != lastGdiObjects)
                std::fprintf(stderr, "module_fuzz: gdi objects %ld -> %ld after stream %ld\n", lastGdiObjects,
                             now.gdiObjects, index);
            lastGdiObjects = now.gdiObjects;
            if ((totals.streams - kWarmUpStreams) % kSampleEvery == 0) samples.push_back(now);
        }
        if (reportEvery > 0 && wallMs() - lastReport > reportEvery * 1000) {
            lastReport = wallMs();
            report("so far", totals, (lastReport - start) / 1000, measureProcess());
        }
    }
    gCurrent.stream = nullptr;
    const double elapsed = (wallMs() - start) / 1000;
    const ProcessFigures after = measureProcess();
    library.shutdown();
    DestroyWindow(ender);
    removeInstallation(installDir);

    report("module fuzz", totals, elapsed, after);
    std::printf("seed %u; ended in a box %ld, from the pump %ld, host windows destroyed %ld\n", seed, totals.endedInBox,
                totals.endedInPump, totals.windowsDestroyed);
    std::printf("time: %.0f s in steps, %.0f s in writes, %.0f s in the rest of the instances' lives; "
                "%.0f s of thread time in all\n",
                totals.inSteps, totals.inWrites, totals.inLife, threadMs() / 1000);
    std::printf("host memory: %ld allocations, %ld frees\n", gAllocations, gFrees);
    bool passed = totals.overBound == 0 && gAllocations == gFrees;
    if (!samples.empty()) {
        const ProcessFigures& before = samples.front();
        const ProcessFigures& halfWay = samples[samples.size() / 2];
        const double growth = (static_cast<double>(after.committedBytes) - before.committedBytes) / 1048576.0;
        std::printf("after %ld streams -> half-way -> at the end: gdi objects %ld -> %ld -> %ld, windows %ld -> %ld -> %ld, "
                    "committed %.1f MB -> %.1f MB -> %.1f MB\n",
                    kWarmUpStreams, before.gdiObjects, halfWay.gdiObjects, after.gdiObjects, before.windows,
                    halfWay.windows, after.windows, before.committedBytes / 1048576.0,
                    halfWay.committedBytes / 1048576.0, after.committedBytes / 1048576.0);
        passed = passed && after.gdiObjects - halfWay.gdiObjects <= kWineStepsAllowed &&
                 after.windows <= halfWay.windows && growth < 32;
    }
    std::printf("crashes: 0\n%s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
