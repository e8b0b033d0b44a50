#include "test_host_window.h"

#include <cstdint>
#include <map>

namespace {

const char kClassName[] = "zured16.TestHost";

std::map<HWND, std::vector<MSG>>& registry() {
    static std::map<HWND, std::vector<MSG>> seen;
    return seen;
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    auto found = registry().find(window);
    if (found != registry().end()) found->second.push_back(MSG{window, id, wParam, lParam, 0, {0, 0}});
    return DefWindowProcA(window, id, wParam, lParam);
}

void registerClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&windowClass);
    done = true;
}

}  // namespace

TestHostWindow::TestHostWindow(int width, int height) {
    registerClass();
    window_ = CreateWindowExA(0, kClassName, "host", WS_POPUP | WS_VISIBLE, 10, 10, width, height, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    registry()[window_];
    UpdateWindow(window_);
    drainQueue();
    forget();
}

TestHostWindow::~TestHostWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
    registry().erase(window_);
    drainQueue();
}

WNDPROC TestHostWindow::procedure() { return recordingProcedure; }

const std::vector<MSG>& TestHostWindow::seen() const { return registry()[window_]; }

int TestHostWindow::count(UINT message) const {
    int n = 0;
    for (const MSG& m : seen())
        if (m.message == message) ++n;
    return n;
}

void TestHostWindow::forget() { registry()[window_].clear(); }

LRESULT sendTimer(HWND window, UINT_PTR id) { return SendMessageA(window, WM_TIMER, id, 0); }

void drainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void runMessages(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        drainQueue();
        Sleep(1);
    } while (static_cast<int32_t>(end - GetTickCount()) > 0);
}

COLORREF pixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}
