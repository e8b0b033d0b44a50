#pragma once
// Window objects: a C++ object bound to one window handle, whose messages are
// looked up in tables of handlers (the derived class's table first, then its
// bases'), and which passes every message without a handler to the window
// procedure that was in place before the object was attached.
#include <windows.h>

#include <cstddef>
#include <memory>

namespace fw {

class WindowObject;

struct Message {
    HWND window;
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
    // Set by a handler that wants the message to go on to the previous
    // window procedure after it; the result is then the previous procedure's.
    bool passOn = false;
};

using MessageHandler = LRESULT (WindowObject::*)(Message&);

struct MessageEntry {
    UINT id;
    MessageHandler handler;
};

struct MessageTable {
    const MessageEntry* entries;
    std::size_t count;
    const MessageTable* base;  // searched when this table has no entry
};

// Turns a derived class's handler into a table entry's handler.
template <typename Derived>
MessageHandler handler(LRESULT (Derived::*method)(Message&)) {
    return static_cast<MessageHandler>(method);
}

template <std::size_t N>
constexpr MessageTable makeMessageTable(const MessageEntry (&entries)[N], const MessageTable* base) {
    return MessageTable{entries, N, base};
}

class WindowObject {
public:
    WindowObject();
    virtual ~WindowObject();

    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    HWND handle() const { return handle_; }

    // Binds the object to an existing window and puts the module's window
    // procedure into it. The procedure found there is recorded only when none
    // is recorded yet. Fails only when there is no handle to bind.
    bool subclass(HWND window);

    // Creates a window of an existing class and subclasses it; the object owns
    // that window and destroys it with itself. False when creation failed.
    bool create(DWORD exStyle, const char* className, const char* caption, DWORD style,
                const RECT& rect, HWND parent, UINT_PTR controlId);

    WNDPROC previousProcedure() const { return previous_; }
    // Puts the recorded previous procedure back into the bound window.
    void restorePreviousProcedure();
    // Lets go of the handle; the window itself is left alone.
    void detach();

    // A token that expires when this object is destroyed: code that runs a
    // message loop inside a handler checks it before touching the object again.
    std::weak_ptr<void> lifeToken() const { return life_; }

    static const MessageTable* baseMessageTable();

protected:
    virtual const MessageTable* messageTable() const;
    // The bound window has been destroyed under the object (its last
    // message, WM_NCDESTROY, has been handled and the handle let go).
    virtual void windowDestroyed() {}
    // The message's default handling: the previous procedure, or
    // DefWindowProc when there is none.
    LRESULT callPrevious(const Message& message) const;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
    MessageHandler findHandler(UINT id) const;

    HWND handle_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool ownsWindow_ = false;
    std::shared_ptr<void> life_;
};

}  // namespace fw
