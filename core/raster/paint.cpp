#include "core/raster/paint.h"

#include <algorithm>
#include <cstring>

namespace raster {

namespace {

// Runs of four and more pixels are written in whole stretches of 8 (or 4),
// the last stretch ending at the run's end and overlapping the one before:
// a pattern repeats every 8 pixels, so overlapping pixels get the same value.
inline void copyStretches(uint32_t* to, int count, const uint32_t* row, int phase) {
    if (count >= 8) {
        const uint32_t* from = row + phase;
        int i = 0;
        for (; i + 8 <= count; i += 8) std::memcpy(to + i, from, 8 * sizeof *from);
        if (i < count) std::memcpy(to + count - 8, row + ((phase + count) & 7), 8 * sizeof *from);
        return;
    }
    if (count >= 4) {
        std::memcpy(to, row + phase, 4 * sizeof *row);
        std::memcpy(to + count - 4, row + ((phase + count - 4) & 7), 4 * sizeof *row);
        return;
    }
    for (int i = 0; i < count; ++i) to[i] = row[phase + i];
}

template <bool kCut, bool kPattern>
void paintRuns(Image& image, const Span* s, const Span* last, int dx, int dy, uint32_t color,
               const PatternRows* rows) {
    uint32_t solid[16];
    std::fill(solid, solid + 16, color);
    for (; s != last; ++s) {
        const int y = s->y + dy;
        int x0 = s->x0 + dx;
        int x1 = s->x1 + dx;
        if (kCut) {
            if (y < 0 || y >= image.height) continue;
            x0 = std::max(x0, 0);
            x1 = std::min(x1, image.width);
            if (x0 >= x1) continue;
        }
        uint32_t* to = image.row(y) + x0;
        if (!kPattern) {
            copyStretches(to, x1 - x0, solid, 0);
            continue;
        }
        const uint32_t* from = rows->cycles[y & 7] + (x0 & 7);
        copyStretches(to, x1 - x0, from - (x0 & 7), x0 & 7);
    }
}

}  // namespace

PatternRows layOutPattern(const Paint& paint) {
    PatternRows rows;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            rows.cycles[y][x] = (paint.tile[static_cast<size_t>(y)] & (0x80 >> (x & 7))) ? paint.first : paint.second;
        }
    }
    return rows;
}

void paintSpans(Image& image, const Span* first, const Span* last, int dx, int dy, const Paint& paint,
                const PatternRows* rows, bool inside) {
    if (first == last) return;
    switch (paint.kind) {
        case Paint::Kind::None: return;
        case Paint::Kind::Solid:
            if (inside) {
                paintRuns<false, false>(image, first, last, dx, dy, paint.first, nullptr);
            } else {
                paintRuns<true, false>(image, first, last, dx, dy, paint.first, nullptr);
            }
            return;
        case Paint::Kind::Pattern: {
            PatternRows own;
            if (!rows) {
                own = layOutPattern(paint);
                rows = &own;
            }
            if (inside) {
                paintRuns<false, true>(image, first, last, dx, dy, 0, rows);
            } else {
                paintRuns<true, true>(image, first, last, dx, dy, 0, rows);
            }
            return;
        }
    }
}

void fillSpan(Image& image, int y, int x0, int x1, const Paint& paint) {
    const Span span{y, x0, x1};
    paintSpans(image, &span, &span + 1, 0, 0, paint);
}

void fillRect(Image& image, const Rect& rect, const Paint& paint) {
    if (!paint.visible()) return;
    const Rect visible = intersection(rect, Rect{0, 0, image.width, image.height});
    if (visible.empty()) return;
    if (paint.kind == Paint::Kind::Solid && visible.left == 0 && visible.right == image.width) {
        // Whole rows are one run of memory: the background of every frame.
        std::fill(image.row(visible.top), image.row(visible.bottom - 1) + image.width, paint.first);
        return;
    }
    PatternRows rows;
    if (paint.kind == Paint::Kind::Pattern) rows = layOutPattern(paint);
    for (int y = visible.top; y < visible.bottom; ++y) {
        const Span row{y, visible.left, visible.right};
        paintSpans(image, &row, &row + 1, 0, 0, paint, &rows, true);
    }
}

void fillRegion(Image& image, const Region& region, int dx, int dy, const Paint& paint) {
    const std::vector<Span>& spans = region.spans();
    paintSpans(image, spans.data(), spans.data() + spans.size(), dx, dy, paint);
}

}  // namespace raster
