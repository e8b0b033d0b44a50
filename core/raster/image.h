#pragma once
// A picture of 32-bit pixels, 0x00RRGGBB, rows from the top: the layout of
// the 32-bit surfaces the plug-in composes its frames on, so that a frame
// drawn here compares pixel for pixel with one read back from the plug-in.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace raster {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // width * height, row after row

    Image() = default;
    Image(int w, int h, uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    uint32_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const uint32_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }

    // The pixels as 8-bit R, G, B bytes, rows from the top, without padding:
    // what picture files are written from.
    std::vector<uint8_t> rgbBytes() const {
        std::vector<uint8_t> rgb(pixels.size() * 3);
        uint8_t* to = rgb.data();
        for (uint32_t p : pixels) {
            *to++ = static_cast<uint8_t>(p >> 16);
            *to++ = static_cast<uint8_t>(p >> 8);
            *to++ = static_cast<uint8_t>(p);
        }
        return rgb;
    }
};

}  // namespace raster
