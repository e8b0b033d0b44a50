#include "playback/clock.h"

#include <windows.h>

namespace {

class SystemClock : public Clock {
public:
    uint32_t now() override { return GetTickCount(); }
};

}  // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}
