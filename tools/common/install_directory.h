#pragma once
// The host browser's installation folder in the registry, where the plug-in
// looks for it to find its sounds: HKCU\Software\Netscape\Netscape
// Navigator\Main, value "Install Directory".
//
// Every program that runs the plug-in under one Wine prefix (the tests, a
// vxaplay beside them) shares that one registry. So the value is set only
// while holding a lock that all of them take (a named mutex, which Wine keeps
// per prefix, as it keeps the registry), and what was there before is put
// back before the lock is let go: no run sees another's value, and none
// leaves its own behind.
#include <windows.h>

#include <string>
#include <vector>

class InstallDirectory {
public:
    // Waits for the lock (a run holds it only while its plug-in reads the
    // value, or for one test), then sets the value; a null folder deletes it.
    explicit InstallDirectory(const char* folder);
    // Puts back what was there, then lets go of the lock.
    ~InstallDirectory();
    InstallDirectory(const InstallDirectory&) = delete;
    InstallDirectory& operator=(const InstallDirectory&) = delete;

    // Whether the value was written (or deleted) as asked.
    bool set() const { return set_; }
    // False when the lock could not be had in time: the value was set anyway.
    bool locked() const { return lock_ != nullptr; }

private:
    HANDLE lock_ = nullptr;
    bool set_ = false;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::vector<BYTE> oldValue_;
};
