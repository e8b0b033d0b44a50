#include "core/raster/paint.h"

#include <algorithm>
#include <cstring>

namespace raster {

namespace {

// Paints runs of one paint; a pattern's eight rows are laid out once, each
// twice over, so that a run copies whole stretches from its phase.
class SpanPainter {
public:
    SpanPainter(Image& image, const Paint& paint) : image_(image), paint_(paint) {
        if (paint.kind != Paint::Kind::Pattern) return;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                cycles_[y][x] = (paint.tile[static_cast<size_t>(y)] & (0x80 >> (x & 7))) ? paint.first : paint.second;
            }
        }
    }

    void operator()(int y, int x0, int x1) {
        if (y < 0 || y >= image_.height) return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, image_.width);
        if (x0 >= x1) return;
        uint32_t* to = image_.row(y) + x0;
        if (paint_.kind == Paint::Kind::Solid) {
            std::fill(to, to + (x1 - x0), paint_.first);
            return;
        }
        const uint32_t* from = cycles_[y & 7] + (x0 & 7);
        int left = x1 - x0;
        for (; left >= 8; left -= 8, to += 8) std::memcpy(to, from, 8 * sizeof *from);
        for (int i = 0; i < left; ++i) to[i] = from[i];
    }

private:
    Image& image_;
    const Paint& paint_;
    uint32_t cycles_[8][16] = {};
};

}  // namespace

void fillSpan(Image& image, int y, int x0, int x1, const Paint& paint) {
    if (!paint.visible()) return;
    SpanPainter(image, paint)(y, x0, x1);
}

void fillRect(Image& image, const Rect& rect, const Paint& paint) {
    if (!paint.visible()) return;
    SpanPainter painter(image, paint);
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, image.height); ++y) painter(y, rect.left, rect.right);
}

void fillRegion(Image& image, const Region& region, int dx, int dy, const Paint& paint) {
    if (!paint.visible() || region.empty()) return;
    SpanPainter painter(image, paint);
    for (const Span& s : region.spans()) painter(s.y + dy, s.x0 + dx, s.x1 + dx);
}

}  // namespace raster
