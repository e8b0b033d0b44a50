#include "core/raster/region_shapes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace raster {

namespace {

// One polygon edge stepped down the scanlines: x where the edge crosses each
// row, rounded so that a span takes the first pixel inside the polygon at its
// left edge and stops at the first pixel outside at its right edge. The
// decision variable keeps the stepping exact in integers.
class EdgeWalker {
public:
    EdgeWalker(const Point& top, const Point& bottom) : x_(top.x), firstRow_(top.y), endRow_(bottom.y) {
        const int dy = bottom.y - top.y;
        const int dx = bottom.x - top.x;
        step_ = dx / dy;  // truncated toward zero
        if (dx < 0) {
            bigStep_ = step_ - 1;
            bigIncrement_ = -2 * dx + 2 * dy * bigStep_;
            smallIncrement_ = -2 * dx + 2 * dy * step_;
            decision_ = 2 * step_ * dy - 2 * dx - 2 * dy;
        } else {
            bigStep_ = step_ + 1;
            bigIncrement_ = 2 * dx - 2 * dy * bigStep_;
            smallIncrement_ = 2 * dx - 2 * dy * step_;
            decision_ = -2 * step_ * dy + 2 * dx;
        }
    }

    int x() const { return x_; }
    int firstRow() const { return firstRow_; }
    int endRow() const { return endRow_; }  // not included

    void advance() {
        const bool big = bigStep_ > 0 ? decision_ > 0 : decision_ >= 0;
        if (big) {
            x_ += bigStep_;
            decision_ += bigIncrement_;
        } else {
            x_ += step_;
            decision_ += smallIncrement_;
        }
    }

private:
    int x_;
    int firstRow_;
    int endRow_;
    int step_ = 0, bigStep_ = 0;
    int smallIncrement_ = 0, bigIncrement_ = 0;
    int decision_ = 0;
};

// Sorts with as little overhead as possible for the handful of elements a
// small polygon has, without giving up on large ones.
template <typename T, typename Less>
void sortFew(std::vector<T>& items, Less less) {
    if (items.size() > 16) {
        std::sort(items.begin(), items.end(), less);
        return;
    }
    for (size_t i = 1; i < items.size(); ++i) {
        T item = items[i];
        size_t j = i;
        for (; j > 0 && less(item, items[j - 1]); --j) items[j] = items[j - 1];
        items[j] = item;
    }
}

bool isAxisAlignedRectangle(const Point* p, int count) {
    if (count != 4 && !(count == 5 && p[4] == p[0])) return false;
    return (p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x) ||
           (p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y);
}

// Steps along a quadrant of the ellipse that fills a width x height box,
// from the end of its horizontal axis to the end of its vertical one; each
// step moves one pixel across, one pixel down, or both (Zingl's integer
// ellipse, as the platform uses it for ellipses and their regions).
class EllipseStepper {
public:
    EllipseStepper(int width, int height)
        : a_(width - 1),
          b_(height - 1),
          aSquared8_(8 * a_ * a_),
          bSquared8_(8 * b_ * b_),
          dx_(4 * b_ * b_ * (1 - a_)),
          dy_(4 * a_ * a_ * (1 + b_ % 2)),
          error_(dx_ + dy_ + a_ * a_ * (b_ % 2)) {}

    void step(bool& across, bool& down) {
        const int64_t twice = 2 * error_;
        across = twice >= dx_;
        down = twice <= dy_;
        if (across) {
            dx_ += bSquared8_;
            error_ += dx_;
        }
        if (down) {
            dy_ += aSquared8_;
            error_ += dy_;
        }
    }

private:
    int64_t a_, b_, aSquared8_, bSquared8_, dx_, dy_, error_;
};

}  // namespace

void addPolygon(RegionBuilder& region, const Point* points, int count) {
    if (count < 2) return;
    if (isAxisAlignedRectangle(points, count)) {
        const int left = std::min(points[0].x, points[2].x);
        const int right = std::max(points[0].x, points[2].x);
        for (int y = std::min(points[0].y, points[2].y); y < std::max(points[0].y, points[2].y); ++y) {
            region.add(y, left, right);
        }
        return;
    }

    // Kept between calls: wide pens scan thousands of small polygons a frame.
    thread_local std::vector<EdgeWalker> edges;
    thread_local std::vector<EdgeWalker*> active;
    thread_local std::vector<int> crossings;
    edges.clear();
    active.clear();
    int top = points[0].y;
    int bottom = points[0].y;
    for (int i = 0; i < count; ++i) {
        const Point& previous = points[i == 0 ? count - 1 : i - 1];
        const Point& current = points[i];
        if (previous.y == current.y) continue;  // horizontal edges bound no span
        const bool downward = previous.y < current.y;
        edges.emplace_back(downward ? previous : current, downward ? current : previous);
        top = std::min(top, std::min(previous.y, current.y));
        bottom = std::max(bottom, std::max(previous.y, current.y));
    }
    if (edges.empty()) return;
    sortFew(edges, [](const EdgeWalker& a, const EdgeWalker& b) { return a.firstRow() < b.firstRow(); });

    size_t next = 0;
    for (int y = top; y < bottom; ++y) {
        while (next < edges.size() && edges[next].firstRow() == y) active.push_back(&edges[next++]);
        crossings.clear();
        for (const EdgeWalker* edge : active) crossings.push_back(edge->x());
        sortFew(crossings, [](int a, int b) { return a < b; });
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) region.add(y, crossings[i], crossings[i + 1]);
        // Leave the edges that end on this row; step the others to the next.
        size_t kept = 0;
        for (EdgeWalker* edge : active) {
            if (edge->endRow() == y + 1) continue;
            edge->advance();
            active[kept++] = edge;
        }
        active.resize(kept);
    }
}

Region polygonRegion(const Point* points, int count) {
    RegionBuilder region;
    addPolygon(region, points, count);
    return region.build();
}

Region roundRectRegion(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                       std::vector<Rect>* unsettled) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    --right;
    --bottom;
    const int width = std::min(right - left, std::abs(cornerWidth));
    const int height = std::min(bottom - top, std::abs(cornerHeight));
    if (width < 2 || height < 2) return Region::filled(Rect{left, top, right, bottom});

    // Span ends of the lower half of the corner ellipse, one per row from its
    // horizontal axis down; the upper half mirrors them.
    std::vector<int> inset(static_cast<size_t>(height) + 1, 0);
    EllipseStepper stepper(width, height);
    int x = 0;
    int y = height / 2;
    while (x <= width / 2) {
        bool across = false, down = false;
        stepper.step(across, down);
        if (across) ++x;
        if (down && ++y <= height) inset[static_cast<size_t>(y)] = x;
    }
    if (y < height - 1) {
        for (int row = y + 1; row < height; ++row) inset[static_cast<size_t>(row)] = x;
        if (unsettled) {
            const int rows = height - 1 - y;
            unsettled->push_back(Rect{INT32_MIN / 2, top, INT32_MAX / 2, top + rows});
            unsettled->push_back(Rect{INT32_MIN / 2, bottom - rows, INT32_MAX / 2, bottom});
        }
    }

    RegionBuilder region;
    for (int i = 0; i < height / 2; ++i) {
        const int mirror = inset[static_cast<size_t>(height - 1 - i)];
        region.add(top + i, left + mirror, right - mirror);
    }
    // The straight middle runs from the ellipse's axis in the top corners to
    // its axis in the bottom ones.
    for (int row = top + height / 2; row <= bottom - height + height / 2; ++row) region.add(row, left, right);
    for (int i = height / 2 + 1; i < height; ++i) {
        const int in = inset[static_cast<size_t>(i)];
        region.add(bottom - height + i, left + in, right - in);
    }
    return region.build();
}

Region frameOf(const Region& region, int width, int height) { return region.frame(width, height); }

std::vector<Point> ellipseQuadrant(int width, int height) {
    std::vector<Point> points;
    EllipseStepper stepper(width, height);
    Point p{width - 1, height / 2};
    while (p.x >= width / 2) {
        points.push_back(p);
        bool across = false, down = false;
        stepper.step(across, down);
        if (across) --p.x;
        if (down) ++p.y;
    }
    return points;
}

}  // namespace raster
