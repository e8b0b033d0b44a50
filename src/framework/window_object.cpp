#include "framework/window_object.h"

namespace fw {
namespace {

// The window property through which the shared window procedure finds the
// object bound to a window.
const char kObjectProperty[] = "zured16.WindowObject";

WindowObject* objectOf(HWND window) {
    return static_cast<WindowObject*>(GetPropA(window, kObjectProperty));
}

}  // namespace

WindowObject::WindowObject() : life_(std::make_shared<int>(0)) {}

WindowObject::~WindowObject() {
    life_.reset();
    if (!handle_) return;
    HWND window = handle_;
    const bool owned = ownsWindow_;
    restorePreviousProcedure();
    detach();
    if (owned) DestroyWindow(window);
}

bool WindowObject::subclass(HWND window) {
    if (!window) return false;
    handle_ = window;
    SetPropA(window, kObjectProperty, this);
    const auto old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowObject::procedure)));
    if (!previous_ && old != &WindowObject::procedure) previous_ = old;
    return true;
}

bool WindowObject::create(DWORD exStyle, const char* className, const char* caption, DWORD style,
                          const RECT& rect, HWND parent, UINT_PTR controlId) {
    HWND window = CreateWindowExA(exStyle, className, caption, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(controlId), GetModuleHandleA(nullptr), nullptr);
    if (!window) return false;
    ownsWindow_ = true;
    return subclass(window);
}

void WindowObject::restorePreviousProcedure() {
    if (handle_ && previous_)
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
}

void WindowObject::detach() {
    if (handle_ && objectOf(handle_) == this) RemovePropA(handle_, kObjectProperty);
    handle_ = nullptr;
    ownsWindow_ = false;
}

const MessageTable* WindowObject::baseMessageTable() {
    static const MessageTable table{nullptr, 0, nullptr};
    return &table;
}

const MessageTable* WindowObject::messageTable() const { return baseMessageTable(); }

MessageHandler WindowObject::findHandler(UINT id) const {
    for (const MessageTable* table = messageTable(); table; table = table->base)
        for (std::size_t i = 0; i < table->count; ++i)
            if (table->entries[i].id == id) return table->entries[i].handler;
    return nullptr;
}

LRESULT WindowObject::callPrevious(const Message& message) const {
    if (previous_)
        return CallWindowProcA(previous_, message.window, message.id, message.wParam, message.lParam);
    return DefWindowProcA(message.window, message.id, message.wParam, message.lParam);
}

LRESULT CALLBACK WindowObject::procedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    WindowObject* object = objectOf(window);
    if (!object) return DefWindowProcA(window, id, wParam, lParam);

    Message message{window, id, wParam, lParam};
    if (id == WM_NCDESTROY) {
        // The window goes away under the object: hand it back its own
        // procedure and let go of it. The object lives on without a window.
        const LRESULT result = object->callPrevious(message);
        object->restorePreviousProcedure();
        object->detach();
        object->windowDestroyed();
        return result;
    }

    const MessageHandler method = object->findHandler(id);
    if (!method) return object->callPrevious(message);

    // A handler may run a message loop during which the object is deleted:
    // keep what is needed afterwards outside the object.
    const WNDPROC previous = object->previous_;
    const std::weak_ptr<void> alive = object->life_;
    const LRESULT result = (object->*method)(message);
    if (!message.passOn) return result;
    if (!alive.expired()) return object->callPrevious(message);
    return previous ? CallWindowProcA(previous, window, id, wParam, lParam)
                    : DefWindowProcA(window, id, wParam, lParam);
}

}  // namespace fw
