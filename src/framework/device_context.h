#pragma once
// Owners of device contexts.
#include <windows.h>

namespace fw {

// Owns a memory or created device context and deletes it (DeleteDC).
// Drawing goes through handle() and the GDI functions themselves.
class DeviceContext {
public:
    DeviceContext() = default;
    explicit DeviceContext(HDC handle) : handle_(handle) {}
    virtual ~DeviceContext();

    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    HDC handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

protected:
    void setHandle(HDC handle) { handle_ = handle; }

private:
    HDC handle_ = nullptr;
};

// A window's device context, taken with GetDC (client area) or GetWindowDC
// (whole window) and released with ReleaseDC. A null window gets no context:
// the platform would hand out the whole screen's, and drawing meant for a
// window that has gone would land on the desktop.
class WindowDC {
public:
    enum class Area { Client, Whole };
    explicit WindowDC(HWND window, Area area = Area::Client);
    ~WindowDC();

    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC handle() const { return handle_; }

private:
    HWND window_;
    HDC handle_;
};

// Selects object into context and returns what it displaced, or null when
// the selection failed (no context, an empty or deleted object).
HGDIOBJ selectInto(HDC context, HGDIOBJ object);

// Selects an object into a context for the lifetime of this guard.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectionGuard() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace fw
