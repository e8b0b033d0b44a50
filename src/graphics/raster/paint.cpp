#include "graphics/raster/paint.h"

#include <algorithm>

namespace raster {

void fillSpan(Image& image, int y, int x0, int x1, const Paint& paint) {
    if (paint.kind == Paint::Kind::None || y < 0 || y >= image.height) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, image.width);
    if (x0 >= x1) return;
    uint32_t* row = image.row(y);
    if (paint.kind == Paint::Kind::Solid) {
        std::fill(row + x0, row + x1, paint.first);
        return;
    }
    const uint8_t bits = paint.tile[static_cast<size_t>(y & 7)];
    uint32_t cycle[8];
    for (int i = 0; i < 8; ++i) cycle[i] = (bits & (0x80 >> i)) ? paint.first : paint.second;
    for (int x = x0; x < x1; ++x) row[x] = cycle[x & 7];
}

void fillRect(Image& image, const Rect& rect, const Paint& paint) {
    for (int y = rect.top; y < rect.bottom; ++y) fillSpan(image, y, rect.left, rect.right, paint);
}

void fillRegion(Image& image, const Region& region, int dx, int dy, const Paint& paint) {
    if (!paint.visible()) return;
    region.forEachSpan([&](int y, int x0, int x1) { fillSpan(image, y + dy, x0 + dx, x1 + dx, paint); });
}

}  // namespace raster
