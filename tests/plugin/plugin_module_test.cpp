// The built module itself, loaded as a host loads it and driven through its
// three exports and the callbacks they hand out.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fake_host.h"
#include "message_box_watcher.h"
#include "plugin/messages.h"
#include "plugin/npapi.h"
#include "test_host_window.h"
#include "test_streams.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

using GetEntryPointsFn = NPError(NP_EXPORT_CALL*)(NPPluginFuncs*);
using InitializeFn = NPError(NP_EXPORT_CALL*)(NPNetscapeFuncs*);
using ShutdownFn = NPError(NP_EXPORT_CALL*)();

template <typename Function>
Function exported(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// The module of the build this test belongs to, found at run time from the
// test's own place in it: the first zured16.dll in a folder above the test
// program (tests/plugin lies two levels below the module).
std::string findModule() {
    char own[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, own, sizeof own);
    if (length == 0 || length >= sizeof own) return "";
    std::string dir(own, length);
    for (size_t slash; (slash = dir.find_last_of("\\/")) != std::string::npos;) {
        dir.resize(slash);
        const std::string candidate = dir + "\\zured16.dll";
        if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
    }
    return "";
}

class Module {
public:
    Module() : path_(findModule()) {
        if (path_.empty()) return;
        library_ = LoadLibraryA(path_.c_str());
        if (!library_) return;
        getEntryPoints = exported<GetEntryPointsFn>(library_, "NP_GetEntryPoints");
        initialize = exported<InitializeFn>(library_, "NP_Initialize");
        shutdown = exported<ShutdownFn>(library_, "NP_Shutdown");
    }
    ~Module() {
        if (library_) FreeLibrary(library_);
    }
    bool loaded() const { return library_ && getEntryPoints && initialize && shutdown; }
    const std::string& path() const { return path_; }

    GetEntryPointsFn getEntryPoints = nullptr;
    InitializeFn initialize = nullptr;
    ShutdownFn shutdown = nullptr;

private:
    std::string path_;
    HMODULE library_ = nullptr;
};

Module& module() {
    static Module loaded;
    return loaded;
}

TEST(EntryPoints, TheCallbackTableMustReachItsEventEntry) {
    ASSERT_TRUE(module().loaded()) << "zured16.dll above this test program: '" << module().path() << "'";
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, module().getEntryPoints(nullptr));

    NPPluginFuncs functions{};
    functions.size = kMinPluginFuncsSize - 1;
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, module().getEntryPoints(&functions));
    EXPECT_EQ(0, functions.version);
    EXPECT_EQ(nullptr, functions.newp);

    std::memset(&functions, 0xCD, sizeof functions);
    functions.size = kMinPluginFuncsSize;
    EXPECT_EQ(NPERR_NO_ERROR, module().getEntryPoints(&functions));
    EXPECT_EQ(6, functions.version);
    for (void* slot : {reinterpret_cast<void*>(functions.newp), reinterpret_cast<void*>(functions.destroy),
                       reinterpret_cast<void*>(functions.setwindow), reinterpret_cast<void*>(functions.newstream),
                       reinterpret_cast<void*>(functions.destroystream), reinterpret_cast<void*>(functions.asfile),
                       reinterpret_cast<void*>(functions.writeready), reinterpret_cast<void*>(functions.write),
                       reinterpret_cast<void*>(functions.print)})
        EXPECT_NE(nullptr, slot);
    EXPECT_EQ(nullptr, functions.event);
}

TEST(EntryPoints, TheHostTableIsKeptEvenWhenItsVersionOrSizeIsRefused) {
    ASSERT_TRUE(module().loaded());
    NPPluginFuncs plugin{};
    plugin.size = sizeof plugin;
    ASSERT_EQ(NPERR_NO_ERROR, module().getEntryPoints(&plugin));
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, module().initialize(nullptr));

    FakeHost host;
    host.table.version = 0x0100;
    EXPECT_EQ(NPERR_INCOMPATIBLE_VERSION_ERROR, module().initialize(&host.table));
    // Stored nonetheless: the next instance's record comes from this table.
    NPP_t instance{};
    EXPECT_EQ(NPERR_NO_ERROR, plugin.newp(nullptr, &instance, NP_EMBED, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(1, FakeHost::allocations);
    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroy(&instance, nullptr));
    EXPECT_EQ(1, FakeHost::frees);

    host.table.version = 0x0009;
    host.table.size = kMinNetscapeFuncsSize - 1;
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, module().initialize(&host.table));
    host.table.size = kMinNetscapeFuncsSize;
    EXPECT_EQ(NPERR_NO_ERROR, module().initialize(&host.table));

    EXPECT_EQ(NPERR_NO_ERROR, module().shutdown());
    // Without a host table there is no memory for a record.
    EXPECT_EQ(NPERR_OUT_OF_MEMORY_ERROR, plugin.newp(nullptr, &instance, NP_EMBED, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, instance.pdata);
}

// One instance of the module on a host window of its own.
class InstanceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module().loaded());
        plugin.size = sizeof plugin;
        ASSERT_EQ(NPERR_NO_ERROR, module().getEntryPoints(&plugin));
        ASSERT_EQ(NPERR_NO_ERROR, module().initialize(&host.table));
        ASSERT_EQ(NPERR_NO_ERROR, plugin.newp(nullptr, &instance, NP_EMBED, 0, nullptr, nullptr, nullptr));
        hostRecord.window = window.handle();
        hostRecord.width = 96;
        hostRecord.height = 16;
    }
    void TearDown() override {
        if (instance.pdata) {
            EXPECT_EQ(NPERR_NO_ERROR, plugin.destroy(&instance, nullptr));
        }
        EXPECT_EQ(FakeHost::allocations, FakeHost::frees);
        module().shutdown();
        drainQueue();
    }

    int32_t write(const std::vector<uint8_t>& bytes, size_t from = 0, size_t count = SIZE_MAX) {
        count = std::min(count, bytes.size() - from);
        return plugin.write(&instance, &stream, static_cast<int32_t>(from), static_cast<int32_t>(count),
                            const_cast<uint8_t*>(bytes.data() + from));
    }
    NPError attach() { return plugin.setwindow(&instance, &hostRecord); }
    NPError startStream() {
        uint16_t type = 0;
        const NPError result = plugin.newstream(&instance, const_cast<char*>("video/vxa"), &stream, 0, &type);
        EXPECT_EQ(NP_NORMAL, type);
        return result;
    }
    bool frameShowing(int frame) { return pixelAt(window.handle(), squareLeft(frame) + 3, 3) == kBlack; }
    // The frame whose square is on the window, 0 when none is.
    int shownFrame() {
        for (int frame = 1; frame <= 12; ++frame)
            if (frameShowing(frame)) return frame;
        return 0;
    }
    WNDPROC procedureOf(HWND handle) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handle, GWLP_WNDPROC)); }

    FakeHost host;
    NPPluginFuncs plugin{};
    NPP_t instance{};
    NPStream stream{};
    TestHostWindow window{96, 16};
    NPWindow hostRecord{};
    const std::vector<uint8_t> movie = makeStream({12, 50});
};

TEST_F(InstanceTest, NullArgumentsAnswerWithTheirCodes) {
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, plugin.newp(nullptr, nullptr, NP_EMBED, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, plugin.destroy(nullptr, nullptr));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, plugin.setwindow(nullptr, &hostRecord));
    EXPECT_EQ(NPERR_GENERIC_ERROR, plugin.setwindow(&instance, nullptr));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, plugin.newstream(nullptr, nullptr, &stream, 0, nullptr));
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR, plugin.destroystream(nullptr, &stream, NPRES_DONE));
    EXPECT_EQ(0, plugin.write(nullptr, &stream, 0, 4, const_cast<uint8_t*>(movie.data())));
    EXPECT_EQ(0x0FFFFFFF, plugin.writeready(&instance, &stream));
    plugin.print(nullptr, nullptr);

    NPP_t empty{};
    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroy(&empty, nullptr));
    EXPECT_EQ(NPERR_GENERIC_ERROR, plugin.setwindow(&empty, &hostRecord));
}

TEST_F(InstanceTest, NoRecordWhenTheHostHasNoMemory) {
    FakeHost::refuseMemory = true;
    NPP_t other{};
    other.pdata = &other;
    EXPECT_EQ(NPERR_OUT_OF_MEMORY_ERROR, plugin.newp(nullptr, &other, NP_FULL, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, other.pdata);
}

TEST_F(InstanceTest, DataBeforeAWindowIsNotTaken) {
    startStream();
    EXPECT_EQ(0, write(movie));
    hostRecord.window = nullptr;
    EXPECT_EQ(NPERR_NO_ERROR, attach());
    EXPECT_EQ(TestHostWindow::procedure(), procedureOf(window.handle()));
    EXPECT_EQ(0, write(movie));
}

TEST_F(InstanceTest, AStreamInOneChunkStartsOnlyAtItsNormalEnd) {
    ASSERT_EQ(NPERR_NO_ERROR, attach());
    EXPECT_NE(TestHostWindow::procedure(), procedureOf(window.handle()));
    startStream();
    EXPECT_EQ(static_cast<int32_t>(movie.size()), write(movie));
    EXPECT_FALSE(timerRunning(window.handle()));
    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroystream(&instance, &stream, NPRES_NETWORK_ERR));
    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroystream(&instance, &stream, NPRES_USER_BREAK));
    EXPECT_FALSE(timerRunning(window.handle()));
    runMessages(60);
    EXPECT_EQ(0, shownFrame());

    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroystream(&instance, &stream, NPRES_DONE));
    EXPECT_TRUE(timerRunning(window.handle()));
    runMessages(100);
    EXPECT_NE(0, shownFrame());
}

TEST_F(InstanceTest, AnEmptyChunkAfterTheMovieTakesNothingAndStartsNothing) {
    ASSERT_EQ(NPERR_NO_ERROR, attach());
    startStream();
    EXPECT_EQ(20, write(movie, 0, 20));
    EXPECT_EQ(0, write(movie, 20, 0));
    EXPECT_FALSE(timerRunning(window.handle()));
    // A later chunk that carries data starts playback.
    EXPECT_EQ(static_cast<int32_t>(movie.size() - 20), write(movie, 20));
    EXPECT_TRUE(timerRunning(window.handle()));
}

TEST_F(InstanceTest, ASecondWindowIsNotFollowedButTheFirstIsRepainted) {
    ASSERT_EQ(NPERR_NO_ERROR, attach());
    startStream();
    write(movie);
    plugin.destroystream(&instance, &stream, NPRES_DONE);
    for (int i = 0; i < 50 && !shownFrame(); ++i) runMessages(10);
    const WNDPROC ours = procedureOf(window.handle());

    // Stop playback where it is (a click pauses), then wipe the picture.
    SendMessageA(window.handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    runMessages(60);
    const int shown = shownFrame();
    ASSERT_NE(0, shown);
    HDC dc = GetDC(window.handle());
    RECT all{0, 0, 96, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window.handle(), dc);
    ValidateRect(window.handle(), nullptr);

    TestHostWindow other{96, 16};
    NPWindow otherRecord = hostRecord;
    otherRecord.window = other.handle();
    EXPECT_EQ(NPERR_NO_ERROR, plugin.setwindow(&instance, &otherRecord));
    EXPECT_EQ(ours, procedureOf(window.handle()));
    EXPECT_EQ(TestHostWindow::procedure(), procedureOf(other.handle()));
    EXPECT_EQ(shown, shownFrame()) << "the frame showing is painted again at once";

    // A call without a handle repaints as well.
    dc = GetDC(window.handle());
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window.handle(), dc);
    ValidateRect(window.handle(), nullptr);
    otherRecord.window = nullptr;
    EXPECT_EQ(NPERR_NO_ERROR, plugin.setwindow(&instance, &otherRecord));
    EXPECT_EQ(shown, shownFrame());
}

TEST_F(InstanceTest, TheEndGivesTheWindowBackAndStopsPlayback) {
    ASSERT_EQ(NPERR_NO_ERROR, attach());
    startStream();
    write(movie, 0, 40);
    write(movie, 40);
    ASSERT_TRUE(timerRunning(window.handle()));
    runMessages(50);
    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroy(&instance, nullptr));
    EXPECT_EQ(nullptr, instance.pdata);
    EXPECT_EQ(1, FakeHost::frees);
    EXPECT_EQ(TestHostWindow::procedure(), procedureOf(window.handle()));
    EXPECT_TRUE(IsWindow(window.handle()));
    drainQueue();
    EXPECT_FALSE(timerRunning(window.handle()));
}

TEST_F(InstanceTest, AFirstChunkShorterThanTheHeaderIsCompletedByTheNext) {
    ASSERT_EQ(NPERR_NO_ERROR, attach());
    startStream();
    EXPECT_EQ(5, write(movie, 0, 5));
    EXPECT_EQ(static_cast<int32_t>(movie.size() - 5), write(movie, 5));
    EXPECT_TRUE(timerRunning(window.handle()));
    for (int i = 0; i < 50 && !shownFrame(); ++i) runMessages(10);
    EXPECT_NE(0, shownFrame());
}

TEST_F(InstanceTest, TheHostsWindowGoneBeforeTheEndLeavesNothingBehind) {
    auto own = std::make_unique<TestHostWindow>(96, 16);
    hostRecord.window = own->handle();
    ASSERT_EQ(NPERR_NO_ERROR, attach());
    startStream();
    write(movie, 0, 40);
    write(movie, 40, 40);
    DestroyWindow(own->handle());
    EXPECT_EQ(static_cast<int32_t>(movie.size() - 80), write(movie, 80));
    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroystream(&instance, &stream, NPRES_DONE));
    EXPECT_EQ(NPERR_NO_ERROR, attach());
    runMessages(40);
    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroy(&instance, nullptr));
    EXPECT_EQ(1, FakeHost::frees);
}

TEST_F(InstanceTest, AWindowThatCannotBeTakenOverIsReportedAndLeftAlone) {
    MessageBoxWatcher watcher;
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    NPWindow goneRecord = hostRecord;
    goneRecord.window = gone;
    EXPECT_EQ(NPERR_GENERIC_ERROR, plugin.setwindow(&instance, &goneRecord));
    ASSERT_EQ(1u, watcher.boxes().size());
    EXPECT_EQ(messages::kSubclassFailedCaption, watcher.boxes()[0].caption);
    EXPECT_EQ(messages::kSubclassFailed, watcher.boxes()[0].text);

    // Nothing retries, nothing is drawn; the stream is taken and dropped.
    EXPECT_EQ(NPERR_NO_ERROR, attach());
    EXPECT_EQ(TestHostWindow::procedure(), procedureOf(window.handle()));
    startStream();
    EXPECT_EQ(static_cast<int32_t>(movie.size()), write(movie));
    EXPECT_EQ(NPERR_NO_ERROR, plugin.destroystream(&instance, &stream, NPRES_DONE));
    runMessages(60);
    EXPECT_EQ(0, shownFrame());
    EXPECT_EQ(1u, watcher.boxes().size());
}

TEST_F(InstanceTest, PrintingLeavesAFullPageToTheHostAndAnEmbeddingAlone) {
    NPPrint full{};
    full.mode = NP_FULL;
    full.print.fullPrint.pluginPrinted = true;
    full.print.fullPrint.printOne = true;
    plugin.print(&instance, &full);
    EXPECT_FALSE(full.print.fullPrint.pluginPrinted);
    EXPECT_TRUE(full.print.fullPrint.printOne);

    NPPrint embedded;
    std::memset(&embedded, 0x5A, sizeof embedded);
    embedded.mode = NP_EMBED;
    NPPrint before = embedded;
    plugin.print(&instance, &embedded);
    EXPECT_EQ(0, std::memcmp(&before, &embedded, sizeof embedded));
    plugin.print(&instance, nullptr);
}

}  // namespace
