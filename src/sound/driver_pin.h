#pragma once
// MCI loads a device's driver at the first open and unloads it when the last
// device of that driver closes. Wine's waveaudio driver posts the end of a
// play from its own play thread and only then leaves the driver's code, so a
// close answered to that notice can unload the code under the running thread
// and crash the host. Keeping the driver loaded for the life of the process
// closes that window; the driver is a system module that stays mapped anyway
// while any sound plays.

// Pins the waveaudio driver when it is loaded; does nothing otherwise.
void keepWaveAudioDriverLoaded();
