#include "framework/device_context.h"

namespace fw {

DeviceContext::~DeviceContext() {
    if (handle_) DeleteDC(handle_);
}

WindowDC::WindowDC(HWND window, Area area)
    : window_(window), handle_(area == Area::Whole ? GetWindowDC(window) : GetDC(window)) {}

WindowDC::~WindowDC() {
    if (handle_) ReleaseDC(window_, handle_);
}

}  // namespace fw
