#pragma once
// Where playback reads the time: the millisecond tick count. Elapsed time is
// always the unsigned 32-bit difference of two readings, so the counter's
// wrap after 49.7 days does not stop a movie.
#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t now() = 0;
};

// GetTickCount.
Clock& systemClock();
