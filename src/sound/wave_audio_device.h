#pragma once
// An MCI device that always opens its file with the waveaudio driver.
#include "sound/mci_device.h"

class WaveAudioDevice : public MciDevice {
public:
    using MciDevice::MciDevice;
    void open(std::string file) override;
};
