#include "install_directory.h"

#include <cstring>

namespace {

const char kKey[] = "Software\\Netscape\\Netscape Navigator\\Main";
const char kValue[] = "Install Directory";
const char kLockName[] = "zured16 Install Directory";
// A run that holds the lock longer than this has most likely hung with it.
constexpr DWORD kLockWait = 60000;

}  // namespace

InstallDirectory::InstallDirectory(const char* folder) {
    lock_ = CreateMutexA(nullptr, FALSE, kLockName);
    // A holder that died leaves the lock abandoned, which hands it over.
    if (lock_ && WaitForSingleObject(lock_, kLockWait) == WAIT_TIMEOUT) {
        CloseHandle(lock_);
        lock_ = nullptr;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExA(key, kValue, nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
        oldValue_.resize(size);
        hadValue_ = RegQueryValueExA(key, kValue, nullptr, &oldType_, oldValue_.data(), &size) == ERROR_SUCCESS;
        oldValue_.resize(size);
    }
    if (folder) {
        set_ = RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                              static_cast<DWORD>(std::strlen(folder) + 1)) == ERROR_SUCCESS;
    } else {
        const LONG deleted = RegDeleteValueA(key, kValue);
        set_ = deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
    }
    RegCloseKey(key);
}

InstallDirectory::~InstallDirectory() {
    HKEY key = nullptr;
    if (set_ && RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        if (hadValue_)
            RegSetValueExA(key, kValue, 0, oldType_, oldValue_.data(), static_cast<DWORD>(oldValue_.size()));
        else
            RegDeleteValueA(key, kValue);
        RegCloseKey(key);
    }
    if (lock_) {
        ReleaseMutex(lock_);
        CloseHandle(lock_);
    }
}
