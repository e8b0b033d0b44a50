#pragma once
// An MCI device whose driver MCI chooses from the file's extension.
#include "sound/mci_device.h"

class FileDevice : public MciDevice {
public:
    using MciDevice::MciDevice;
    void open(std::string file) override;
};
