#include "process_figures.h"

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>

namespace {

// GetGuiResources is a stub under Wine (it answers 0), so the GDI objects
// are counted in the process's table of GDI handles, which the process
// environment block points to on Windows and Wine alike (64-bit layout:
// 24-byte entries, the object type at offset 14, 0 for a free entry).
constexpr size_t kGdiTableOffset = 0xF8;
constexpr size_t kEntrySize = 24;
constexpr size_t kTypeOffset = 14;
constexpr size_t kEntries = 0x10000;

long countGdiObjects() {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return -1;
    const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const uint8_t* const*>(peb + kGdiTableOffset);
    if (!table) return -1;
    long live = 0;
    for (size_t i = 0; i < kEntries; ++i) live += table[i * kEntrySize + kTypeOffset] != 0;
    return live;
}

BOOL CALLBACK countWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

}  // namespace

ProcessFigures measureProcess() {
    ProcessFigures figures;
    figures.gdiObjects = countGdiObjects();
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&figures.windows));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    // Wine reports no private usage; the page-file usage is the committed memory.
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) figures.committedBytes = counters.PagefileUsage;
    return figures;
}
