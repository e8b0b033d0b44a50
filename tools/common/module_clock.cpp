#include "module_clock.h"

#include <cstring>

namespace moduleclock {
namespace {

// Starts away from 0, which the movie reads as "no frame shown yet".
uint32_t gNow = 100000;

DWORD WINAPI fakeTickCount() { return gNow; }

template <typename T>
T* at(HMODULE module, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

}  // namespace

void advance(uint32_t milliseconds) { gNow += milliseconds; }

bool takeOver(HMODULE module) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = at<const IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    for (auto* library = at<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); library->Name; ++library) {
        if (lstrcmpiA(at<const char>(module, library->Name), "kernel32.dll") != 0) continue;
        auto* names = at<IMAGE_THUNK_DATA>(module, library->OriginalFirstThunk ? library->OriginalFirstThunk
                                                                                 : library->FirstThunk);
        auto* slots = at<IMAGE_THUNK_DATA>(module, library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = at<const IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "GetTickCount") != 0) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old)) return false;
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&fakeTickCount);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return true;
        }
    }
    return false;
}

}  // namespace moduleclock
