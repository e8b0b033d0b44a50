#include "graphics/raster/region.h"

#include <algorithm>
#include <cstring>

namespace raster {

Region::Region(const Rect& area) : area_(area) {
    if (area_.empty()) {
        area_ = Rect{};
        return;
    }
    bits_.assign(static_cast<size_t>(area_.width()) * static_cast<size_t>(area_.height()), 0);
}

Region Region::filled(const Rect& rect) {
    Region region(rect);
    std::fill(region.bits_.begin(), region.bits_.end(), uint8_t{1});
    return region;
}

bool Region::contains(int x, int y) const {
    if (x < area_.left || x >= area_.right || y < area_.top || y >= area_.bottom) return false;
    return rowBits(y)[x - area_.left] != 0;
}

bool Region::empty() const { return std::find(bits_.begin(), bits_.end(), uint8_t{1}) == bits_.end(); }

void Region::addSpan(int y, int x0, int x1) {
    if (y < area_.top || y >= area_.bottom) return;
    x0 = std::max(x0, area_.left);
    x1 = std::min(x1, area_.right);
    if (x0 >= x1) return;
    std::memset(rowBits(y) + (x0 - area_.left), 1, static_cast<size_t>(x1 - x0));
}

void Region::unite(const Region& other) {
    const Rect common = intersection(area_, other.area_);
    if (common.empty()) return;
    for (int y = common.top; y < common.bottom; ++y) {
        uint8_t* to = rowBits(y) + (common.left - area_.left);
        const uint8_t* from = other.rowBits(y) + (common.left - other.area_.left);
        for (int i = 0; i < common.width(); ++i) to[i] |= from[i];
    }
}

void Region::subtract(const Region& other) {
    const Rect common = intersection(area_, other.area_);
    if (common.empty()) return;
    for (int y = common.top; y < common.bottom; ++y) {
        uint8_t* to = rowBits(y) + (common.left - area_.left);
        const uint8_t* from = other.rowBits(y) + (common.left - other.area_.left);
        for (int i = 0; i < common.width(); ++i) to[i] &= static_cast<uint8_t>(from[i] ^ 1);
    }
}

void Region::offset(int dx, int dy) {
    area_.left += dx;
    area_.right += dx;
    area_.top += dy;
    area_.bottom += dy;
}

}  // namespace raster
