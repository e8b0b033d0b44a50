// The movie window on a real window under Wine: what it keeps, what it
// passes on to the host's procedure, its timer, clicks, ESC and its end.
#include <gtest/gtest.h>

#include <memory>

#include "movie/movie.h"
#include "playback/clock.h"
#include "test_host_window.h"
#include "test_streams.h"
#include "window/message_pump.h"
#include "window/movie_window.h"

namespace {

// Every reading is a second after the last: each timer message finds the
// next frame due.
class SteppingClock : public Clock {
public:
    uint32_t now() override { return time_ += 1000; }

private:
    uint32_t time_ = 1;
};

class MovieWindowTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window->subclass(host.handle())); }

    Movie& giveMovie(const TestMovie& description) {
        const std::vector<uint8_t> bytes = makeStream(description);
        auto* movie = new Movie(bytes.data(), static_cast<int32_t>(bytes.size()), *window, clock);
        movie->resetPlayback();
        window->setMovie(movie);
        return *movie;
    }
    void click() { SendMessageA(host.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4)); }
    void timer() { sendTimer(host.handle(), MovieWindow::kTimerId); }

    SteppingClock clock;
    TestHostWindow host{64, 16};
    std::unique_ptr<MovieWindow> window = std::make_unique<MovieWindow>();
};

TEST_F(MovieWindowTest, PaintBeforeTheMovieValidatesWithoutReachingTheHost) {
    InvalidateRect(host.handle(), nullptr, FALSE);
    UpdateWindow(host.handle());
    RECT update;
    EXPECT_FALSE(GetUpdateRect(host.handle(), &update, FALSE));
    EXPECT_EQ(0, host.count(WM_PAINT));
}

TEST_F(MovieWindowTest, TimerMessagesAreKeptWhateverTheirId) {
    sendTimer(host.handle(), 7);
    timer();  // no Movie yet
    Movie& movie = giveMovie({});
    sendTimer(host.handle(), 7);
    EXPECT_EQ(0, movie.currentFrame());
    timer();
    EXPECT_EQ(1, movie.currentFrame());
    EXPECT_EQ(0, host.count(WM_TIMER));
}

TEST_F(MovieWindowTest, SetCursorBeforeTheMovieLeavesTheCursorAndCountsAsHandled) {
    const HCURSOR hostCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32515));  // IDC_CROSS
    const HCURSOR arrow = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(104));
    ASSERT_NE(nullptr, arrow);
    window->setCursors(arrow, nullptr);
    SetCursor(hostCursor);
    window->useArrowCursor();
    EXPECT_EQ(arrow, window->currentCursor());
    EXPECT_EQ(TRUE, SendMessageA(host.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host.handle()),
                                 MAKELPARAM(HTCAPTION, WM_MOUSEMOVE)));
    EXPECT_EQ(hostCursor, GetCursor());
    EXPECT_EQ(0, host.count(WM_SETCURSOR));
    window->setCursors(nullptr, nullptr);  // a shared cursor: not the window's to release
}

TEST_F(MovieWindowTest, SetCursorShowsTheArrowUnlessTheMovieHoldsForAClick) {
    const HCURSOR hostCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32515));
    const HCURSOR arrow = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(104));
    window->setCursors(arrow, nullptr);
    window->useArrowCursor();
    Movie& movie = giveMovie({20, 10, false, true});
    SetCursor(hostCursor);
    SendMessageA(host.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host.handle()), HTCLIENT);
    EXPECT_EQ(hostCursor, GetCursor()) << "waiting for a click: the wait animation owns the cursor";
    movie.releaseWait();
    SendMessageA(host.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host.handle()), HTCLIENT);
    EXPECT_EQ(arrow, GetCursor());
    window->setCursors(nullptr, nullptr);
}

TEST_F(MovieWindowTest, StartingTheTimerTwiceKeepsOneTimer) {
    giveMovie({});
    window->startTimer();
    EXPECT_EQ(MovieWindow::kTimerId, window->timerId());
    window->startTimer();
    EXPECT_EQ(MovieWindow::kTimerId, window->timerId());
    window->stopTimer();
    EXPECT_EQ(0u, window->timerId());
    // One KillTimer ended it: no timer message comes any more.
    Sleep(60);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, host.handle(), WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST(MovieWindowAlone, NoTimerWithoutAWindow) {
    MovieWindow window;
    window.startTimer();
    EXPECT_EQ(0u, window.timerId());
    window.stopTimer();
}

TEST_F(MovieWindowTest, AStepThatEndsTheMovieStopsTheTimer) {
    Movie& movie = giveMovie({1});
    window->startTimer();
    timer();
    EXPECT_EQ(1, movie.currentFrame());
    EXPECT_EQ(0u, window->timerId());
}

TEST_F(MovieWindowTest, ClickPausesAndTheNextResumesAndRestartsTheTimer) {
    Movie& movie = giveMovie({});
    window->startTimer();
    timer();
    click();
    EXPECT_TRUE(movie.isPaused());
    EXPECT_NE(0u, window->timerId()) << "the next step stops it";
    timer();
    EXPECT_EQ(0u, window->timerId());
    EXPECT_EQ(1, movie.currentFrame());
    click();
    EXPECT_FALSE(movie.isPaused());
    EXPECT_EQ(MovieWindow::kTimerId, window->timerId());
    timer();
    EXPECT_EQ(2, movie.currentFrame());
    EXPECT_EQ(2, host.count(WM_LBUTTONDOWN)) << "clicks go on to the host";
}

TEST_F(MovieWindowTest, ClickWhileHoldingOnlyReleasesTheHold) {
    Movie& movie = giveMovie({20, 10, false, true});
    window->startTimer();
    for (int i = 0; i < 8; ++i) timer();
    EXPECT_EQ(6, movie.currentFrame());
    click();
    EXPECT_FALSE(movie.isWaitingForClick());
    EXPECT_FALSE(movie.isPaused());
    EXPECT_EQ(MovieWindow::kTimerId, window->timerId());
    timer();
    EXPECT_EQ(7, movie.currentFrame());
}

TEST_F(MovieWindowTest, ClickBeforeTheMovieOnlyGoesOnToTheHost) {
    click();
    EXPECT_EQ(1, host.count(WM_LBUTTONDOWN));
    EXPECT_EQ(0u, window->timerId());
}

TEST_F(MovieWindowTest, EscapeInThePumpStopsTheTimerWithoutPausing) {
    Movie& movie = giveMovie({});
    window->startTimer();
    PostMessageA(host.handle(), WM_CHAR, 27, 0);
    timer();
    EXPECT_EQ(1, movie.currentFrame());
    EXPECT_EQ(0u, window->timerId());
    EXPECT_FALSE(movie.isPaused());
    // Stopped by ESC: a first click pauses (the timer stays off), a second
    // resumes and starts it.
    click();
    EXPECT_TRUE(movie.isPaused());
    EXPECT_EQ(0u, window->timerId());
    click();
    EXPECT_FALSE(movie.isPaused());
    EXPECT_EQ(MovieWindow::kTimerId, window->timerId());
}

TEST_F(MovieWindowTest, ATimerMessageFromItsOwnPumpDoesNotStepAgain) {
    Movie& movie = giveMovie({});
    window->startTimer();
    PostMessageA(host.handle(), WM_TIMER, MovieWindow::kTimerId, 0);
    timer();
    EXPECT_EQ(1, movie.currentFrame());
    timer();
    EXPECT_EQ(2, movie.currentFrame());
}

TEST_F(MovieWindowTest, PaintDrawsTheFrameShowingAgain) {
    giveMovie({});
    timer();
    timer();  // frame 2: the square at x 8..15
    HDC dc = GetDC(host.handle());
    RECT all{0, 0, 64, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, squareLeft(2) + 3, 3));
    InvalidateRect(host.handle(), nullptr, FALSE);
    UpdateWindow(host.handle());
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, squareLeft(2) + 3, 3));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, squareLeft(1) + 3, 3));
    ReleaseDC(host.handle(), dc);
}

// A window given back the way the plug-in gives it back at the end of an
// instance, from a window of another procedure reached through the pump.
struct Releaser {
    MovieWindow* window = nullptr;
    bool aliveInside = false;
};
Releaser gReleaser;

LRESULT CALLBACK releasingProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    if (id == WM_APP && gReleaser.window) {
        MovieWindow* movieWindow = gReleaser.window;
        const auto token = movieWindow->lifeToken();
        movieWindow->stopTimer();
        movieWindow->restorePreviousProcedure();
        movieWindow->detach();
        MovieWindow::dispose(movieWindow);
        gReleaser.aliveInside = !token.expired();
        gReleaser.window = nullptr;
        return 0;
    }
    return DefWindowProcA(window, id, wParam, lParam);
}

TEST(MovieWindowEnd, DisposedInsideItsPumpLivesUntilTheTimerMessageIsDone) {
    TestHostWindow host;
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(other, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(releasingProcedure));
    auto* window = new MovieWindow;
    ASSERT_TRUE(window->subclass(host.handle()));
    SteppingClock clock;
    const std::vector<uint8_t> bytes = makeStream({});
    window->setMovie(new Movie(bytes.data(), static_cast<int32_t>(bytes.size()), *window, clock));
    window->startTimer();
    const auto token = window->lifeToken();
    gReleaser.window = window;
    PostMessageA(other, WM_APP, 0, 0);
    sendTimer(host.handle(), MovieWindow::kTimerId);
    EXPECT_TRUE(gReleaser.aliveInside);
    EXPECT_TRUE(token.expired());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(TestHostWindow::procedure()),
              GetWindowLongPtrA(host.handle(), GWLP_WNDPROC));
    DestroyWindow(other);
}

bool cursorExists(HCURSOR cursor) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

HCURSOR makeCursor() {
    BYTE andMask[32 * 4];
    BYTE xorMask[32 * 4];
    memset(andMask, 0xFF, sizeof andMask);
    memset(xorMask, 0, sizeof xorMask);
    return CreateCursor(GetModuleHandleA(nullptr), 0, 0, 32, 32, andMask, xorMask);
}

TEST(MovieWindowEnd, DestroyedWithoutMovieOrTimerReleasesItsCursorsAndGivesTheWindowBack) {
    TestHostWindow host;
    const HCURSOR arrow = makeCursor();
    const HCURSOR hand = makeCursor();
    ASSERT_TRUE(cursorExists(arrow) && cursorExists(hand));
    auto* window = new MovieWindow;
    window->setCursors(arrow, hand);
    ASSERT_TRUE(window->subclass(host.handle()));
    delete window;
    EXPECT_FALSE(cursorExists(arrow));
    EXPECT_FALSE(cursorExists(hand));
    EXPECT_TRUE(IsWindow(host.handle()));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(TestHostWindow::procedure()),
              GetWindowLongPtrA(host.handle(), GWLP_WNDPROC));
}

TEST(MovieWindowEnd, TheHostsWindowGoingFirstLeavesTheObjectWithoutAWindow) {
    auto host = std::make_unique<TestHostWindow>();
    MovieWindow window;
    ASSERT_TRUE(window.subclass(host->handle()));
    window.startTimer();
    DestroyWindow(host->handle());
    EXPECT_EQ(nullptr, window.handle());
    window.stopTimer();
    window.startTimer();
    EXPECT_EQ(0u, window.timerId());
}

// Mouse messages become the two hooks and then go on to the host.
class RecordingCursorWindow : public CursorWindow {
public:
    void onMouseEvent(int kind, WPARAM flags) override { events.push_back({kind, flags}); }
    std::vector<std::pair<int, WPARAM>> events;
};

TEST(CursorWindow, MouseMovesAndPressesReachTheHookAndThenTheHost) {
    TestHostWindow host;
    RecordingCursorWindow window;
    ASSERT_TRUE(window.subclass(host.handle()));
    SendMessageA(host.handle(), WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(3, 3));
    SendMessageA(host.handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(3, 3));
    SendMessageA(host.handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
    ASSERT_EQ(2u, window.events.size());
    EXPECT_EQ(CursorWindow::kMouseMove, window.events[0].first);
    EXPECT_EQ(0u, window.events[0].second);
    EXPECT_EQ(CursorWindow::kLeftButtonDown, window.events[1].first);
    EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL), window.events[1].second);
    EXPECT_EQ(1, host.count(WM_MOUSEMOVE));
    EXPECT_EQ(1, host.count(WM_LBUTTONDOWN));
    EXPECT_EQ(1, host.count(WM_RBUTTONDOWN));
}

TEST(MessagePump, StopsAtEscapeAndLeavesTheRestQueued) {
    TestHostWindow host;
    PostMessageA(host.handle(), WM_APP, 1, 0);
    PostMessageA(host.handle(), WM_CHAR, 'a', 0);
    PostMessageA(host.handle(), WM_CHAR, 27, 0);
    PostMessageA(host.handle(), WM_APP, 2, 0);
    EXPECT_EQ(1, pumpMessages());
    EXPECT_EQ(1, host.count(WM_APP));
    EXPECT_EQ(2, host.count(WM_CHAR));
    MSG left;
    ASSERT_TRUE(PeekMessageA(&left, host.handle(), 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_APP), left.message);
    EXPECT_EQ(2u, left.wParam);
}

TEST(MessagePump, AnEscapeKeyIsTranslatedIntoTheCharacterItStopsAt) {
    TestHostWindow host;
    PostMessageA(host.handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(1, pumpMessages());
    EXPECT_EQ(1, host.count(WM_CHAR));
    drainQueue();
}

TEST(MessagePump, TheHostsQuitRequestIsPutBack) {
    TestHostWindow host;
    PostQuitMessage(5);
    PostMessageA(host.handle(), WM_APP, 0, 0);
    EXPECT_EQ(0, pumpMessages());
    EXPECT_EQ(1, host.count(WM_APP));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
    EXPECT_EQ(5u, message.wParam);
}

}  // namespace
