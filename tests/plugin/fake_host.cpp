#include "fake_host.h"

#include <cstdlib>

int FakeHost::allocations = 0;
int FakeHost::frees = 0;
bool FakeHost::refuseMemory = false;

namespace {

void* countingAlloc(uint32_t size) {
    if (FakeHost::refuseMemory) return nullptr;
    ++FakeHost::allocations;
    return std::malloc(size);
}

void countingFree(void* memory) {
    ++FakeHost::frees;
    std::free(memory);
}

}  // namespace

FakeHost::FakeHost() {
    table.size = sizeof table;
    table.version = 9;
    table.memalloc = countingAlloc;
    table.memfree = countingFree;
    allocations = frees = 0;
    refuseMemory = false;
}

bool timerRunning(HWND window) {
    const DWORD end = GetTickCount() + 100;
    MSG message;
    do {
        if (PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_NOREMOVE) && message.wParam == 1000) return true;
        Sleep(5);
    } while (static_cast<int32_t>(end - GetTickCount()) > 0);
    return false;
}
