// The callbacks linked into the test program itself, where the allocation of
// one object can be made to fail, and where a message box inside a callback
// can hand the host's next call straight back to the module.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

#include "fake_host.h"
#include "message_box_watcher.h"
#include "movie/movie.h"
#include "movie_test_support.h"
#include "plugin/callbacks.h"
#include "plugin/messages.h"
#include "plugin/plugin_instance.h"
#include "sound/mci_device.h"
#include "test_host_window.h"
#include "test_streams.h"
#include "window/movie_window.h"

namespace {
// The size of the next allocation to refuse; 0 refuses none.
std::size_t gRefusedSize = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (size == gRefusedSize) {
        gRefusedSize = 0;
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

class CallbackTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(NPERR_NO_ERROR, NP_Initialize(&host.table));
        ASSERT_EQ(NPERR_NO_ERROR, NPP_New(nullptr, &instance, NP_EMBED, 0, nullptr, nullptr, nullptr));
        record.window = window.handle();
    }
    void TearDown() override {
        gRefusedSize = 0;
        if (instance.pdata) NPP_Destroy(&instance, nullptr);
        EXPECT_EQ(FakeHost::allocations, FakeHost::frees);
        NP_Shutdown();
        drainQueue();
    }
    int32_t write(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
        return NPP_Write(&instance, &stream, static_cast<int32_t>(from), static_cast<int32_t>(count),
                         const_cast<uint8_t*>(bytes.data() + from));
    }
    int32_t writeAll() { return write(movie, 0, movie.size()); }
    WNDPROC procedure() { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window.handle(), GWLP_WNDPROC)); }

    FakeHost host;
    NPP_t instance{};
    NPStream stream{};
    TestHostWindow window{96, 16};
    NPWindow record{};
    const std::vector<uint8_t> movie = makeStream({12, 50});
};

TEST_F(CallbackTest, AWindowObjectThatCannotBeMadeIsReportedAndTriedAgainLater) {
    MessageBoxWatcher watcher;
    gRefusedSize = sizeof(MovieWindow);
    EXPECT_EQ(NPERR_OUT_OF_MEMORY_ERROR, NPP_SetWindow(&instance, &record));
    ASSERT_EQ(1u, watcher.boxes().size());
    EXPECT_EQ(messages::kErrorCaption, watcher.boxes()[0].caption);
    EXPECT_EQ(messages::kNotEnoughMemory, watcher.boxes()[0].text);
    EXPECT_EQ(TestHostWindow::procedure(), procedure());
    EXPECT_EQ(0, writeAll()) << "no window object: nothing is taken";

    EXPECT_EQ(NPERR_NO_ERROR, NPP_SetWindow(&instance, &record));
    EXPECT_NE(TestHostWindow::procedure(), procedure());
    EXPECT_EQ(static_cast<int32_t>(movie.size()), writeAll());
}

TEST_F(CallbackTest, AMovieThatCannotBeMadeLeavesTheChunkWithTheHost) {
    MessageBoxWatcher watcher;
    ASSERT_EQ(NPERR_NO_ERROR, NPP_SetWindow(&instance, &record));
    gRefusedSize = sizeof(Movie);
    EXPECT_EQ(0, writeAll());
    ASSERT_EQ(1u, watcher.boxes().size());
    EXPECT_EQ(messages::kNotEnoughMemory, watcher.boxes()[0].text);

    // Offered again, the same chunk builds the Movie.
    EXPECT_EQ(static_cast<int32_t>(movie.size()), writeAll());
    EXPECT_EQ(NPERR_NO_ERROR, NPP_DestroyStream(&instance, &stream, NPRES_DONE));
    EXPECT_TRUE(timerRunning(window.handle()));
}

TEST_F(CallbackTest, EndedInsideAChunksMessageBoxTheRecordGoesWhenTheChunkIsDone) {
    int freesInside = -1;
    MessageBoxWatcher watcher(true, [&](const SeenBox&) {
        EXPECT_EQ(NPERR_NO_ERROR, NPP_Destroy(&instance, nullptr));
        freesInside = FakeHost::frees;
    });
    ASSERT_EQ(NPERR_NO_ERROR, NPP_SetWindow(&instance, &record));
    gRefusedSize = sizeof(Movie);
    EXPECT_EQ(0, writeAll());
    EXPECT_EQ(0, freesInside) << "the chunk was still using the record";
    EXPECT_EQ(1, FakeHost::frees);
    EXPECT_EQ(nullptr, instance.pdata);
    EXPECT_EQ(TestHostWindow::procedure(), procedure());
}

TEST_F(CallbackTest, AChunkOfferedInsideAnotherChunksMessageBoxIsNotTaken) {
    int32_t nested = -1;
    MessageBoxWatcher watcher(true, [&](const SeenBox&) { nested = writeAll(); });
    ASSERT_EQ(NPERR_NO_ERROR, NPP_SetWindow(&instance, &record));
    gRefusedSize = sizeof(Movie);
    EXPECT_EQ(0, writeAll());
    EXPECT_EQ(0, nested);
    EXPECT_EQ(static_cast<int32_t>(movie.size()), writeAll());
}

// Ends the instance when the movie window's pump reaches it.
NPP gEndedInPump = nullptr;
LRESULT CALLBACK endingProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    if (id == WM_APP && gEndedInPump) {
        NPP_Destroy(gEndedInPump, nullptr);
        gEndedInPump = nullptr;
        return 0;
    }
    return DefWindowProcA(window, id, wParam, lParam);
}

TEST_F(CallbackTest, EndedFromInsideThePumpOfAPlaybackStep) {
    ASSERT_EQ(NPERR_NO_ERROR, NPP_SetWindow(&instance, &record));
    write(movie, 0, 40);
    write(movie, 40, movie.size() - 40);
    ASSERT_TRUE(timerRunning(window.handle()));
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(other, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(endingProcedure));
    gEndedInPump = &instance;
    PostMessageA(other, WM_APP, 0, 0);
    sendTimer(window.handle(), MovieWindow::kTimerId);
    EXPECT_EQ(nullptr, gEndedInPump);
    EXPECT_EQ(nullptr, instance.pdata);
    EXPECT_EQ(1, FakeHost::frees);
    EXPECT_EQ(TestHostWindow::procedure(), procedure());
    drainQueue();
    EXPECT_FALSE(timerRunning(window.handle()));
    DestroyWindow(other);
}

// The instance ends, or the host destroys its window, while the box of a
// failed sound command is up inside a playback step: afterwards nothing is
// drawn (not into the window, and not onto the screen through a window that
// has gone), no sound command is sent but the stop and close of the device
// already open, and no further box appears.
TEST_F(CallbackTest, EndedWhileASoundBoxIsUpNothingMoreHappens) {
    enum class End { DestroyInTheBox, DestroyFromTheBoxsLoop, HostWindowDestroyedFromTheBoxsLoop };
    for (End end : {End::DestroyInTheBox, End::DestroyFromTheBoxsLoop, End::HostWindowDestroyedFromTheBoxsLoop}) {
        SCOPED_TRACE(static_cast<int>(end));
        TestHostWindow host{96, 16};
        SetWindowPos(host.handle(), nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        NPWindow hostRecord{};
        hostRecord.window = host.handle();
        if (!instance.pdata) {
            ASSERT_EQ(NPERR_NO_ERROR, NPP_New(nullptr, &instance, NP_EMBED, 0, nullptr, nullptr, nullptr));
        }
        // 8.WAV is not in the sound folder: its open command fails with a box.
        movietest::ScopedInstallDirectory install("C:\\zured16 no sounds");
        using namespace movietest;
        const std::vector<uint8_t> bytes = streamBytes(
            wideHeader({96, 16, 1, 3, 50}),
            {groupBlock({rectGroup(1, 96, 16, 35)}), frameBlock(1, {place(1, 0, 0)}, 8), frameBlock(2, {place(1, 0, 0)}, 9)});
        std::vector<std::string> commands;
        MciDevice::setCommandObserver([&](const std::string& command, unsigned long) { commands.push_back(command); });
        HDC screen = GetDC(nullptr);
        const COLORREF screenBefore = GetPixel(screen, 2, 2);

        size_t commandsAtEnd = SIZE_MAX;
        HWND ender = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        static std::function<void()> endNow;
        endNow = [&] {
            commandsAtEnd = commands.size();
            if (end == End::HostWindowDestroyedFromTheBoxsLoop)
                DestroyWindow(host.handle());
            else
                NPP_Destroy(&instance, nullptr);
        };
        SetWindowLongPtrA(ender, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT id, WPARAM wp, LPARAM lp) -> LRESULT {
            if (id == WM_APP) {
                endNow();
                return 0;
            }
            return DefWindowProcA(w, id, wp, lp);
        }));
        int boxes = 0;
        // In the box, or from its own message loop, which is only run when
        // the box is answered from there too.
        const bool inTheBox = end == End::DestroyInTheBox;
        MessageBoxWatcher watcher(inTheBox, [&](const SeenBox& box) {
            ++boxes;
            if (boxes == 1 && inTheBox) endNow();
            if (inTheBox) return;
            if (boxes == 1) PostMessageA(ender, WM_APP, 0, 0);
            PostMessageA(box.window, WM_COMMAND, IDOK, 0);
        });
        ASSERT_EQ(NPERR_NO_ERROR, NPP_SetWindow(&instance, &hostRecord));
        ASSERT_EQ(static_cast<int32_t>(bytes.size()),
                  NPP_Write(&instance, &stream, 0, static_cast<int32_t>(bytes.size()), const_cast<uint8_t*>(bytes.data())));
        ASSERT_EQ(NPERR_NO_ERROR, NPP_DestroyStream(&instance, &stream, NPRES_DONE));
        sendTimer(host.handle(), MovieWindow::kTimerId);
        if (end != End::DestroyInTheBox) runMessages(50);

        ASSERT_NE(SIZE_MAX, commandsAtEnd) << "the box never came";
        EXPECT_EQ(1, boxes);
        for (size_t i = commandsAtEnd; i < commands.size(); ++i)
            EXPECT_TRUE(commands[i].rfind("stop ", 0) == 0 || commands[i].rfind("close ", 0) == 0) << commands[i];
        EXPECT_EQ(screenBefore, GetPixel(screen, 2, 2)) << "the frame was drawn onto the screen";
        if (IsWindow(host.handle())) {
            EXPECT_NE(RGB(255, 0, 0), pixelAt(host.handle(), 2, 2)) << "the frame was drawn after the end";
        }
        // Nothing more comes of later steps or the rest of the instance.
        sendTimer(host.handle(), MovieWindow::kTimerId);
        if (instance.pdata) NPP_Destroy(&instance, nullptr);
        runMessages(50);
        EXPECT_EQ(1, boxes);
        ReleaseDC(nullptr, screen);
        DestroyWindow(ender);
        MciDevice::setCommandObserver(nullptr);
        endNow = nullptr;
    }
}

// While one movie's box is up inside its playback step, its own timer
// messages, dispatched by the box, are let go: that step is still running.
// A second movie on the page plays on meanwhile: the box dispatches its
// timer messages too, and each of its steps runs whole. Each step drains the
// thread's messages, so the first movie's step may also come from inside
// the second's; then the second's step is the one still running, and it
// stays on its frame until the box is answered.
TEST_F(CallbackTest, ASecondMoviePlaysOnWhileTheFirstOnesBoxIsUp) {
    using namespace movietest;
    movietest::ScopedInstallDirectory install("C:\\zured16 no sounds");
    // The first movie names a missing sound on its first frame; both run at
    // 50 frames a second.
    const std::vector<uint8_t> first = streamBytes(
        wideHeader({96, 16, 1, 40, 50}), {groupBlock({rectGroup(1, 8, 8, 35)}), frameBlock(1, {place(1, 0, 0)}, 8)});
    const std::vector<uint8_t> second = makeStream({40, 50});
    TestHostWindow otherWindow{96, 16};
    NPP_t other{};
    NPWindow otherRecord{};
    otherRecord.window = otherWindow.handle();
    ASSERT_EQ(NPERR_NO_ERROR, NPP_New(nullptr, &other, NP_EMBED, 0, nullptr, nullptr, nullptr));
    ASSERT_EQ(NPERR_NO_ERROR, NPP_SetWindow(&instance, &record));
    ASSERT_EQ(NPERR_NO_ERROR, NPP_SetWindow(&other, &otherRecord));
    auto movieOf = [](NPP npp) { return static_cast<PluginInstance*>(npp->pdata)->movie; };
    // Counts the second movie's steps on the stack: its timer messages, which
    // reach the plug-in through the host window it took over.
    static int secondSteps = 0;
    static WNDPROC secondProcedure = nullptr;
    const HWND secondWindow = otherWindow.handle();
    secondProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        secondWindow, GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND window, UINT message, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
            const bool step = message == WM_TIMER;
            secondSteps += step;
            const LRESULT result = CallWindowProcA(secondProcedure, window, message, w, l);
            secondSteps -= step;
            return result;
        })));
    bool insideSecondStep = false;

    int16_t secondBefore = -1;
    int16_t secondAfter = -1;
    int16_t firstInside = -1;
    static HWND box = nullptr;
    static std::function<void()> answer;
    answer = [&] {
        firstInside = movieOf(&instance)->currentFrame();
        secondAfter = movieOf(&other)->currentFrame();
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    };
    MessageBoxWatcher watcher(false, [&](const SeenBox& seen) {
        if (box) {
            // The play command's box, once the open's is answered.
            PostMessageA(seen.window, WM_COMMAND, IDOK, 0);
            return;
        }
        box = seen.window;
        insideSecondStep = secondSteps > 0;
        secondBefore = movieOf(&other)->currentFrame();
        // Answered after 400 ms, from the box's own loop.
        SetTimer(nullptr, 0, 400, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
            KillTimer(nullptr, id);
            answer();
        });
    });
    // The second movie is playing when the first one's first step comes.
    NPP_Write(&other, &stream, 0, static_cast<int32_t>(second.size()), const_cast<uint8_t*>(second.data()));
    NPP_DestroyStream(&other, &stream, NPRES_DONE);
    runMessages(100);
    NPP_Write(&instance, &stream, 0, static_cast<int32_t>(first.size()), const_cast<uint8_t*>(first.data()));
    NPP_DestroyStream(&instance, &stream, NPRES_DONE);
    const DWORD end = GetTickCount() + 3000;
    while (!box && static_cast<int32_t>(end - GetTickCount()) > 0) runMessages(20);
    ASSERT_NE(nullptr, box) << "the first movie raised no box";
    box = nullptr;
    answer = nullptr;

    // The step that raised the box was the first movie's first, still on
    // frame 1 until the box is answered; the second went on meanwhile by
    // some 20 frames.
    EXPECT_EQ(1, firstInside);
    if (insideSecondStep)
        EXPECT_EQ(secondBefore, secondAfter);
    else
        EXPECT_GE(secondAfter - secondBefore, 8) << "from frame " << secondBefore;
    SetWindowLongPtrA(secondWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(secondProcedure));
    EXPECT_EQ(NPERR_NO_ERROR, NPP_Destroy(&other, nullptr));
}

}  // namespace
