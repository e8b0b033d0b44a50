#include "sound_test_support.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "sound/mci_device.h"

ParentWindow::ParentWindow()
    : window_(CreateWindowExA(0, "STATIC", "sound test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr)) {}

ParentWindow::~ParentWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
}

TempFolder::TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    char name[64];
    std::snprintf(name, sizeof name, "zured16_sound_%lu_%lu\\", GetCurrentProcessId(), GetTickCount());
    path_ = std::string(base) + name;
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do DeleteFileA((path_ + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

namespace {
void put16(std::ofstream& out, uint16_t v) { out.put(char(v & 0xFF)).put(char(v >> 8)); }
void put32(std::ofstream& out, uint32_t v) { put16(out, uint16_t(v & 0xFFFF)), put16(out, uint16_t(v >> 16)); }
}  // namespace

void writeToneWav(const std::string& path, double seconds, double frequency, int rate) {
    const uint32_t samples = static_cast<uint32_t>(seconds * rate);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4), put32(out, 36 + samples * 2), out.write("WAVEfmt ", 8);
    put32(out, 16), put16(out, 1), put16(out, 1), put32(out, rate), put32(out, rate * 2), put16(out, 2),
        put16(out, 16);
    out.write("data", 4), put32(out, samples * 2);
    for (uint32_t i = 0; i < samples; ++i)
        put16(out, uint16_t(int16_t(12000 * std::sin(2 * 3.14159265358979 * frequency * i / rate))));
}

CommandLog::CommandLog() {
    MciDevice::setCommandObserver(
        [this](const std::string& command, unsigned long result) { entries_.emplace_back(command, result); });
}

CommandLog::~CommandLog() { MciDevice::setCommandObserver(nullptr); }

std::vector<std::string> CommandLog::commands() const {
    std::vector<std::string> list;
    for (const auto& entry : entries_) list.push_back(entry.first);
    return list;
}

bool CommandLog::allSucceeded() const {
    for (const auto& entry : entries_)
        if (entry.second != 0) return false;
    return true;
}

bool pumpUntil(const std::function<bool()>& done, DWORD boundMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > boundMs) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
