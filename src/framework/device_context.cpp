#include "framework/device_context.h"

namespace fw {

DeviceContext::~DeviceContext() {
    if (handle_) DeleteDC(handle_);
}

HGDIOBJ selectInto(HDC context, HGDIOBJ object) {
    if (!context || !object) return nullptr;
    HGDIOBJ previous = SelectObject(context, object);
    return previous == HGDI_ERROR ? nullptr : previous;
}

WindowDC::WindowDC(HWND window, Area area)
    : window_(window),
      handle_(!window ? nullptr : area == Area::Whole ? GetWindowDC(window) : GetDC(window)) {}

WindowDC::~WindowDC() {
    if (handle_) ReleaseDC(window_, handle_);
}

}  // namespace fw
