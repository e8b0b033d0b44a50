#include "png_picture.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdint>
#include <vector>

#include "files.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

void append(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(context);
  const auto* from = static_cast<const uint8_t*>(data);
  bytes->insert(bytes->end(), from, from + size);
}

}  // namespace

void writePngPicture(const std::string& path, const raster::Image& picture) {
  const std::vector<uint8_t> rgb = picture.rgbBytes();
  std::vector<uint8_t> png;
  if (!stbi_write_png_to_func(append, &png, picture.width, picture.height, 3, rgb.data(), picture.width * 3)) {
    fail(path + ": cannot encode the picture as PNG");
  }
  writeFileWhole(path, png);
}

}  // namespace vxa::tool
