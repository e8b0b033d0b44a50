#include "sound/driver_pin.h"

#include <windows.h>

namespace {
// The waveaudio driver of MCI32 on Windows NT and on Wine.
const char kWaveAudioDriver[] = "mciwave.dll";
}  // namespace

void keepWaveAudioDriverLoaded() {
    static bool pinned = false;
    if (pinned) return;
    HMODULE driver = nullptr;
    pinned = GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, kWaveAudioDriver, &driver) != FALSE;
}
