#pragma once
// Timing a step of the plug-in from the host: the wall clock, and the time
// the calling thread itself has run (kernel and user), which is what the step
// asks of the machine whatever else runs on it meanwhile.
#include <windows.h>

#include <cstdint>

inline double wallMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double threadMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ms = [](FILETIME t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}
