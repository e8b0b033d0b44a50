#include "message_box_watcher.h"

namespace {

thread_local MessageBoxWatcher* tWatcher = nullptr;
const char* const kOriginalProcedure = "zured16.BoxWatcher.Original";

bool isDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}

std::string textOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

// The box's message is its one static control with text (the icon's has none).
BOOL CALLBACK findMessage(HWND child, LPARAM found) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0) return TRUE;
    std::string text = textOf(child);
    if (text.empty()) return TRUE;
    *reinterpret_cast<std::string*>(found) = text;
    return FALSE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(bool pressOk, Listener listener)
    : pressOk_(pressOk), listener_(std::move(listener)) {
    tWatcher = this;
    // A hook on window creation only: a hook on every message the thread
    // handles would tax each one with trips to the window server.
    hook_ = SetWindowsHookExA(WH_CBT, &MessageBoxWatcher::hook, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher() {
    if (hook_) UnhookWindowsHookEx(hook_);
    tWatcher = nullptr;
}

LRESULT CALLBACK MessageBoxWatcher::hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && tWatcher) {
        const auto window = reinterpret_cast<HWND>(wParam);
        // The box's texts are set while it initializes: it is watched from
        // inside its own window procedure until then.
        if (isDialog(window)) {
            const LONG_PTR original = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&boxProcedure));
            SetPropA(window, kOriginalProcedure, reinterpret_cast<HANDLE>(original));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MessageBoxWatcher::boxProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(window, kOriginalProcedure));
    if (id == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(window, kOriginalProcedure);
    }
    const LRESULT result = CallWindowProcA(original, window, id, wParam, lParam);
    if (id == WM_INITDIALOG && tWatcher) tWatcher->seen(window);
    return result;
}

void MessageBoxWatcher::seen(HWND dialog) {
    SeenBox box{textOf(dialog), {}, dialog};
    EnumChildWindows(dialog, findMessage, reinterpret_cast<LPARAM>(&box.text));
    boxes_.push_back(box);
    if (listener_) listener_(box);
    // Ending the dialog before it is shown spares the wait for activation
    // that a display without a window manager would cost.
    if (pressOk_) EndDialog(dialog, IDOK);
}
