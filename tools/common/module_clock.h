#pragma once
// The module's clock, taken over. The harness points the loaded module's
// import of GetTickCount at a clock of its own, so that a timer step can
// stand for 20 milliseconds without anyone waiting for them: many more
// streams are played in an hour, and frames fall due exactly when the
// harness says.
#include <windows.h>

#include <cstdint>

namespace moduleclock {

// True when the module imports GetTickCount and now reads this clock.
bool takeOver(HMODULE module);
void advance(uint32_t milliseconds);

}  // namespace moduleclock
