#pragma once
// The host's side of the plug-in API as the plug-in tests play it: a function
// table whose memory services count what they hand out, and helpers that
// drive one instance through its callbacks.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "plugin/npapi.h"

struct FakeHost {
    FakeHost();

    NPNetscapeFuncs table{};
    static int allocations;
    static int frees;
    static bool refuseMemory;
};

// Whether a timer message for `window` with the playback timer's id arrives
// within a few timer periods; it is left in the queue.
bool timerRunning(HWND window);
