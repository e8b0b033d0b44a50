#include "install_directory.h"

#include <windows.h>

namespace {

const char kKey[] = "Software\\Netscape\\Netscape Navigator\\Main";
const char kValue[] = "Install Directory";

}  // namespace

InstallDirectory::InstallDirectory(const std::string& folder) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    char old[1024];
    DWORD size = sizeof old - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, kValue, nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        old[size] = '\0';
        hadValue_ = true;
        previous_ = old;
    }
    set_ = RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                          static_cast<DWORD>(folder.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
}

InstallDirectory::~InstallDirectory() {
    if (!set_) return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    if (hadValue_)
        RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                       static_cast<DWORD>(previous_.size() + 1));
    else
        RegDeleteValueA(key, kValue);
    RegCloseKey(key);
}
