#include "sound/file_device.h"

#include <utility>

void FileDevice::open(std::string file) { openWith(std::move(file), ""); }
