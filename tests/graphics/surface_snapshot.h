#pragma once
// Reading drawn pixels back: a copy of a device context's pixels in a 32-bit
// top-down DIB, as 0x00RRGGBB values.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class Snapshot {
public:
    // Copies (0, 0, width, height) of source in its logical coordinates.
    Snapshot(HDC source, int width, int height);

    uint32_t at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    int width() const { return width_; }
    int height() const { return height_; }
    // How many pixels of the rectangle have the colour.
    int count(uint32_t rgb, const RECT& area) const;
    int count(uint32_t rgb) const { return count(rgb, RECT{0, 0, width_, height_}); }
    // The bounding box of the pixels of that colour; empty when none.
    RECT boundsOf(uint32_t rgb) const;
    bool operator==(const Snapshot& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }

private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

// A colour as the snapshot holds it: 0x00RRGGBB, flag byte dropped.
constexpr uint32_t rgbOf(COLORREF color) {
    return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}
uint32_t rgbOfIndex(int colorIndex);

// Paints the whole of a context's area in a colour.
void paint(HDC context, const RECT& area, COLORREF color);

std::string hex(uint32_t value);
// "left,top,right,bottom", for comparing a rectangle in one expectation.
std::string str(const RECT& r);
