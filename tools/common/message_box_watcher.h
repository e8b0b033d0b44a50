#pragma once
// Watches the message boxes that the calling thread opens, records each one's
// caption and text, and (when asked) answers it with OK, so that automated
// runs of the plug-in never wait for a person.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;
    // The box's dialog, for a listener that answers it later itself; valid
    // only while the box is up.
    HWND window = nullptr;
};

class MessageBoxWatcher {
public:
    using Listener = std::function<void(const SeenBox&)>;

    // Watches the calling thread from now until destruction. Only one
    // watcher may exist per thread.
    explicit MessageBoxWatcher(bool pressOk = true, Listener listener = nullptr);
    ~MessageBoxWatcher();

    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    const std::vector<SeenBox>& boxes() const { return boxes_; }
    void clear() { boxes_.clear(); }

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK boxProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
    void seen(HWND dialog);

    HHOOK hook_ = nullptr;
    bool pressOk_;
    Listener listener_;
    std::vector<SeenBox> boxes_;
};
