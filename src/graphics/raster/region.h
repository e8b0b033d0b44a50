#pragma once
// A set of pixels: what the platform's regions are to its drawing. Only which
// pixels a shape covers decides what it paints, so a region is kept as a mask
// over an area its maker chooses large enough for everything put into it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/raster/geometry.h"

namespace raster {

class Region {
public:
    Region() = default;
    // Empty, able to hold pixels inside area.
    explicit Region(const Rect& area);
    static Region filled(const Rect& rect);

    const Rect& area() const { return area_; }
    bool contains(int x, int y) const;
    bool empty() const;

    // Adds the pixels x0 <= x < x1 of row y; what lies outside the area is lost.
    void addSpan(int y, int x0, int x1);
    // Pixels of other outside this region's area are lost.
    void unite(const Region& other);
    void subtract(const Region& other);
    void offset(int dx, int dy);

    // Calls f(y, x0, x1) for every run of pixels, row by row from the top.
    template <typename F>
    void forEachSpan(F&& f) const {
        const int width = area_.width();
        for (int y = area_.top; y < area_.bottom; ++y) {
            const uint8_t* row = bits_.data() + static_cast<std::size_t>(y - area_.top) * width;
            int x = 0;
            while (x < width) {
                while (x < width && !row[x]) ++x;
                if (x == width) break;
                const int start = x;
                while (x < width && row[x]) ++x;
                f(y, area_.left + start, area_.left + x);
            }
        }
    }

private:
    uint8_t* rowBits(int y) { return bits_.data() + static_cast<std::size_t>(y - area_.top) * area_.width(); }
    const uint8_t* rowBits(int y) const {
        return bits_.data() + static_cast<std::size_t>(y - area_.top) * area_.width();
    }

    Rect area_;
    std::vector<uint8_t> bits_;
};

}  // namespace raster
