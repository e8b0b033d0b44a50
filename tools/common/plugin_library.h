#pragma once
// Finding and loading the plug-in for video/vxa the way a browser does: by
// the MIME types and file extensions in each library's version resource.
#include <windows.h>

#include <string>

#include "plugin/npapi.h"

// The first library in `folder` that registers `mimeType` with `extension`;
// empty when there is none.
std::string findPlugin(const std::string& folder, const char* mimeType, const char* extension);

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // False, with `error` set, when the library or one of its exports is missing.
    bool load(const std::string& path, std::string& error);
    void unload();
    HMODULE module() const { return module_; }

    // Asks for the plug-in's entry points and starts it with a host whose only
    // services are its memory, from `allocate` and `release` (NPN_MemAlloc and
    // NPN_MemFree), as a harness that counts them needs. The table stays with
    // this object, which the plug-in keeps a pointer to until shut down.
    // False when either call fails.
    bool startWithMemory(NPPluginFuncs& plugin, void* (*allocate)(uint32_t), void (*release)(void*));

    NPError(NP_EXPORT_CALL* getEntryPoints)(NPPluginFuncs*) = nullptr;
    NPError(NP_EXPORT_CALL* initialize)(NPNetscapeFuncs*) = nullptr;
    NPError(NP_EXPORT_CALL* shutdown)() = nullptr;

private:
    HMODULE module_ = nullptr;
    NPNetscapeFuncs host_{};
};
