#pragma once
// What the harness watches the process for: its GDI objects (the quota a
// browser's windows share), its windows, and its committed memory.
#include <cstddef>

struct ProcessFigures {
    long gdiObjects = 0;
    long windows = 0;          // top-level windows of the calling thread
    size_t committedBytes = 0;
};

ProcessFigures measureProcess();
