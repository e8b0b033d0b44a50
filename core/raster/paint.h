#pragma once
// What fills a shape: nothing, one colour, or an 8 x 8 pattern of two colours.
// Patterns are anchored to the picture, not to the shape: the tile's top-left
// pixel lands on every pixel whose coordinates are multiples of 8, wherever
// the shape or its group was placed (the platform's brush origin is in
// device coordinates and is never moved).
#include <cstdint>

#include "core/raster/image.h"
#include "core/raster/region.h"
#include "core/tables/pattern_tiles.h"

namespace raster {

struct Paint {
    enum class Kind { None, Solid, Pattern };
    Kind kind = Kind::None;
    uint32_t first = 0;   // 0x00RRGGBB: the colour, or the pattern's set bits
    uint32_t second = 0;  // the pattern's clear bits
    PatternTile tile{};

    static Paint none() { return Paint{}; }
    static Paint solid(uint32_t color) { return Paint{Kind::Solid, color, color, {}}; }
    static Paint pattern(const PatternTile& tile, uint32_t first, uint32_t second) {
        return Paint{Kind::Pattern, first, second, tile};
    }
    bool visible() const { return kind != Kind::None; }
};

// A pattern's eight rows laid out in its colours, each twice over, so that a
// run copies whole stretches from its phase.
struct PatternRows {
    uint32_t cycles[8][16];
};
PatternRows layOutPattern(const Paint& paint);

// Paints runs [first, last) moved by (dx, dy) with one paint, chosen once for
// all of them; a pattern's rows may be laid out already. `inside` says every
// run lies in the image, so none needs cutting.
void paintSpans(Image& image, const Span* first, const Span* last, int dx, int dy, const Paint& paint,
                const PatternRows* rows = nullptr, bool inside = false);

// Paints the pixels x0 <= x < x1 of row y, as far as they lie in the image.
void fillSpan(Image& image, int y, int x0, int x1, const Paint& paint);
void fillRect(Image& image, const Rect& rect, const Paint& paint);
// Paints the region moved by (dx, dy).
void fillRegion(Image& image, const Region& region, int dx, int dy, const Paint& paint);

}  // namespace raster
