#include "movie/sound_directory.h"

#include <windows.h>

#include <vector>

namespace {

const char kHostKey[] = "Software\\Netscape\\Netscape Navigator\\Main";
const char kInstallDirectoryValue[] = "Install Directory";
// The host's own limit for the value, terminating zero included.
constexpr DWORD kInstallDirectorySize = 144;
const char kProgramComponent[] = "PROGRAM";
const char kSoundSubdirectory[] = "\\PLUGINS\\VXA_WAV\\";

std::vector<std::string> splitAtBackslashes(const std::string& path) {
    std::vector<std::string> components;
    if (path.empty()) return components;
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find('\\', start);
        components.push_back(path.substr(start, slash - start));
        if (slash == std::string::npos) return components;
        start = slash + 1;
    }
}

// The entry's short name when the file system gives it one, else its own
// name; the component as given when there is no such entry.
std::string shortNameOf(const std::string& longPath, const std::string& component) {
    // A wildcard would let the search answer with some other entry's name.
    if (component.find_first_of("*?") != std::string::npos) return component;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(longPath.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return component;
    FindClose(search);
    return found.cAlternateFileName[0] ? found.cAlternateFileName : found.cFileName;
}

}  // namespace

std::string readInstallDirectory() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kHostKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char value[kInstallDirectorySize] = {};
    DWORD type = 0;
    DWORD size = sizeof value;
    const LONG result =
        RegQueryValueExA(key, kInstallDirectoryValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    // A value stored without its terminating zero fills the buffer exactly.
    if (size == 0 || value[size - 1] != '\0') {
        if (size >= sizeof value) return {};
        value[size] = '\0';
    }
    return value;
}

std::string soundDirectoryFor(std::string installDirectory) {
    // "C:\Netscape\" names the same folder as "C:\Netscape"; left in, the
    // empty last component would become a folder of its own.
    while (!installDirectory.empty() && installDirectory.back() == '\\') installDirectory.pop_back();
    if (installDirectory.empty()) return {};

    std::vector<std::string> components = splitAtBackslashes(installDirectory);
    if (components.back() != kProgramComponent) components.push_back(kProgramComponent);

    // The first component is the drive and is kept as it stands.
    std::string longPath = components[0];
    std::string shortPath = components[0];
    for (size_t i = 1; i < components.size(); ++i) {
        longPath += "\\" + components[i];
        shortPath += "\\" + shortNameOf(longPath, components[i]);
    }
    return shortPath + kSoundSubdirectory;
}

std::string findSoundDirectory() { return soundDirectoryFor(readInstallDirectory()); }
