#include "plugin_library.h"

#include <vector>

namespace {

// The registration's string table: US English, Windows Latin 1.
const char kStringTable[] = "\\StringFileInfo\\040904E4\\";

std::string versionString(const std::vector<char>& info, const char* key) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string(kStringTable) + key;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return std::string();
    return std::string(value, strnlen(value, length));
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t from = 0;
    while (true) {
        const size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

// The types are listed with '|' between them, and the extensions of each type
// (',' between them) in the same position of their own list.
bool registers(const std::string& path, const char* mimeType, const char* extension) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<char> info(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data())) return false;
    const std::vector<std::string> types = split(versionString(info, "MIMEType"), '|');
    const std::vector<std::string> extents = split(versionString(info, "FileExtents"), '|');
    for (size_t i = 0; i < types.size() && i < extents.size(); ++i) {
        if (lstrcmpiA(types[i].c_str(), mimeType) != 0) continue;
        for (const std::string& one : split(extents[i], ','))
            if (lstrcmpiA(one.c_str(), extension) == 0) return true;
    }
    return false;
}

template <typename Function>
Function exported(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

std::string findPlugin(const std::string& folder, const char* mimeType, const char* extension) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    std::string match;
    do {
        const std::string path = folder + "\\" + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && registers(path, mimeType, extension)) match = path;
    } while (match.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return match;
}

PluginLibrary::~PluginLibrary() { unload(); }

bool PluginLibrary::load(const std::string& path, std::string& error) {
    module_ = LoadLibraryA(path.c_str());
    if (!module_) {
        error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    using GetEntryPoints = NPError(NP_EXPORT_CALL*)(NPPluginFuncs*);
    using Initialize = NPError(NP_EXPORT_CALL*)(NPNetscapeFuncs*);
    using Shutdown = NPError(NP_EXPORT_CALL*)();
    getEntryPoints = exported<GetEntryPoints>(module_, "NP_GetEntryPoints");
    initialize = exported<Initialize>(module_, "NP_Initialize");
    shutdown = exported<Shutdown>(module_, "NP_Shutdown");
    if (getEntryPoints && initialize && shutdown) return true;
    error = path + " lacks one of NP_GetEntryPoints, NP_Initialize, NP_Shutdown";
    unload();
    return false;
}

bool PluginLibrary::startWithMemory(NPPluginFuncs& plugin, void* (*allocate)(uint32_t), void (*release)(void*)) {
    plugin = NPPluginFuncs{};
    plugin.size = sizeof plugin;
    host_ = NPNetscapeFuncs{};
    host_.size = sizeof host_;
    host_.version = 9;
    host_.memalloc = allocate;
    host_.memfree = release;
    return getEntryPoints(&plugin) == NPERR_NO_ERROR && initialize(&host_) == NPERR_NO_ERROR;
}

void PluginLibrary::unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    getEntryPoints = nullptr;
    initialize = nullptr;
    shutdown = nullptr;
}
