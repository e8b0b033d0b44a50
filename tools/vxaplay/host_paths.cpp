#include "host_paths.h"

#include <windows.h>

namespace {

bool underWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

std::string windowsPath(const std::string& path) {
    std::string converted = path;
    if (!converted.empty() && converted[0] == '/' && underWine()) converted = "Z:" + converted;
    for (char& c : converted)
        if (c == '/') c = '\\';
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(converted.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return converted;
    return full;
}

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return parentFolder(path);
}

std::string parentFolder(const std::string& folder) {
    std::string parent = folder;
    while (!parent.empty() && parent.back() == '\\') parent.pop_back();
    const size_t slash = parent.find_last_of('\\');
    return slash == std::string::npos ? parent : parent.substr(0, slash);
}

bool makeFolders(const std::string& path) {
    size_t from = path.size() > 2 && path[1] == ':' ? 3 : 0;
    while (true) {
        const size_t slash = path.find('\\', from);
        const std::string part = path.substr(0, slash);
        if (!part.empty() && !CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        if (slash == std::string::npos) return true;
        from = slash + 1;
    }
}
