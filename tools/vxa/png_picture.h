#pragma once
// A rendered picture as a PNG file (8-bit RGB), written whole or not at all.
#include <string>

#include "core/raster/image.h"

namespace vxa::tool {

void writePngPicture(const std::string& path, const raster::Image& picture);

}  // namespace vxa::tool
