#pragma once
// A set of pixels: what the platform's regions are to its drawing. Only which
// pixels a shape covers decides what it paints, so a region is kept as runs
// of pixels ("spans"), row by row from the top and left to right in a row,
// none touching another.
#include <vector>

#include "core/raster/geometry.h"

namespace raster {

struct Span {
    int y;
    int x0;  // first pixel
    int x1;  // one past the last
};

class Region {
public:
    Region() = default;
    static Region filled(const Rect& rect);

    bool empty() const { return spans_.empty(); }
    const std::vector<Span>& spans() const { return spans_; }
    bool contains(int x, int y) const;

    void unite(const Region& other);
    void subtract(const Region& other);
    void offset(int dx, int dy);
    // The pixels within `width` pixels of the edge horizontally or `height`
    // vertically: those that leave the region when moved by that much left,
    // right, up or down.
    Region frame(int width, int height) const;

    template <typename F>
    void forEachSpan(F&& f) const {
        for (const Span& s : spans_) f(s.y, s.x0, s.x1);
    }

private:
    friend class RegionBuilder;
    std::vector<Span> spans_;
};

// Collects runs in any order, overlapping or not, and makes a region of them.
class RegionBuilder {
public:
    void add(int y, int x0, int x1) {
        if (x0 < x1) spans_.push_back(Span{y, x0, x1});
    }
    void add(const Region& region, int dx = 0, int dy = 0) {
        for (const Span& s : region.spans()) spans_.push_back(Span{s.y + dy, s.x0 + dx, s.x1 + dx});
    }
    Region build();

private:
    void sortByRow();
    std::vector<Span> spans_;
};

}  // namespace raster
