#include "framework/application.h"

// The linker's symbol for the start of the image that holds this code: the
// DLL when linked into the module, the program when linked into a test.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace fw {

Application& Application::instance() {
    static Application application;
    return application;
}

Application::Application() : module_(reinterpret_cast<HINSTANCE>(&__ImageBase)) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module_, path, MAX_PATH);
    std::string name(path);
    const size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    title_ = name;
}

int Application::showMessageBox(const char* text, const char* caption, UINT style) const {
    return MessageBoxA(nullptr, text, caption, style);
}

}  // namespace fw
