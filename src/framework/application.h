#pragma once
// The module's application object: one per loaded module. It knows the
// module's own handle (for its resources) and its title, and shows the
// module's message boxes.
#include <windows.h>

#include <string>

namespace fw {

class Application {
public:
    static Application& instance();

    HINSTANCE moduleHandle() const { return module_; }
    // The module's file name without directory and extension ("zured16").
    const std::string& title() const { return title_; }

    // A modal box with no owner window.
    int showMessageBox(const char* text, const char* caption, UINT style) const;

private:
    Application();
    HINSTANCE module_;
    std::string title_;
};

}  // namespace fw
