#pragma once
// A shape's drawing kept as what it paints: layers of spans, each with one
// paint, painted in order. Objects are recorded once in group coordinates and
// painted wherever a frame places them; the spans a later layer paints over
// are left out of the earlier ones, so every pixel is written once.
#include <cstdint>
#include <vector>

#include "core/raster/geometry.h"
#include "core/raster/image.h"
#include "core/raster/paint.h"
#include "core/raster/region.h"

namespace raster {

class DrawList {
public:
    void clear();
    bool empty() const { return layers_.empty() && unsettled_.empty(); }

    // Appends to the last layer when it has the same paint; invisible paints
    // and empty spans add nothing.
    void add(const Region& region, const Paint& paint, int dx = 0, int dy = 0);
    void addSpans(const Span* first, const Span* last, const Paint& paint, int dx = 0, int dy = 0);
    void addRect(const Rect& rect, const Paint& paint);
    void addSpan(int y, int x0, int x1, const Paint& paint);
    void addUnsettled(const Rect& band) { unsettled_.push_back(band); }

    // Leaves out what later layers paint over; done once a list is complete
    // and kept, as it costs more than painting the list once.
    void removeHidden();

    // Paints every layer moved by (dx, dy), cut to the image.
    void paint(Image& image, int dx, int dy) const;
    // Bands where the platform paints from memory it never set (see
    // roundRectRegion), in the list's coordinates.
    const std::vector<Rect>& unsettled() const { return unsettled_; }

    // What keeping the list costs, in spans (a pattern's rows count as the
    // spans of the same size).
    size_t weight() const;

private:
    struct Layer {
        Paint paint;
        size_t end = 0;           // spans_ [previous layer's end, end)
        int32_t cycles = -1;      // a pattern's doubled rows in cycles_
        Rect bounds{0, 0, 0, 0};  // of its spans, to skip the cut when inside
    };

    Layer& layerFor(const Paint& paint);
    size_t begin(size_t layer) const { return layer == 0 ? 0 : layers_[layer - 1].end; }

    std::vector<Span> spans_;
    std::vector<Layer> layers_;
    std::vector<PatternRows> cycles_;
    std::vector<Rect> unsettled_;
};

}  // namespace raster
