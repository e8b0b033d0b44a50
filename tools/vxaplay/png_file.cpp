#include "png_file.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

bool writePng(const std::string& path, int width, int height, const uint8_t* rgb) {
    return stbi_write_png(path.c_str(), width, height, 3, rgb, width * 3) != 0;
}
