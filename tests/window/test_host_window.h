#pragma once
// A stand-in for the host browser's window: a real top-level window of its
// own class whose procedure records every message it sees, so that tests can
// tell what the plug-in's window object passed on and what it kept.
#include <windows.h>

#include <vector>

class TestHostWindow {
public:
    TestHostWindow(int width = 64, int height = 48);
    ~TestHostWindow();

    TestHostWindow(const TestHostWindow&) = delete;
    TestHostWindow& operator=(const TestHostWindow&) = delete;

    HWND handle() const { return window_; }
    // The procedure the window was created with.
    static WNDPROC procedure();

    // Messages that reached this window's own procedure.
    const std::vector<MSG>& seen() const;
    int count(UINT message) const;
    void forget();

private:
    HWND window_;
};

// A timer message of the given id sent to the window.
LRESULT sendTimer(HWND window, UINT_PTR id);
// Dispatches what is queued for the thread, so that nothing left over from
// one case reaches the next.
void drainQueue();
// Dispatches the thread's messages as they come (timer, paint, input) for
// about `milliseconds`.
void runMessages(int milliseconds);
// The colour at a point of the window's client area.
COLORREF pixelAt(HWND window, int x, int y);
