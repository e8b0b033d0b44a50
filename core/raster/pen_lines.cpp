#include "core/raster/pen_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/raster/region_shapes.h"

namespace raster {

namespace {

void plot(std::vector<Span>& out, int x, int y) {
    if (!out.empty() && out.back().y == y) {
        Span& run = out.back();
        if (run.x1 == x) {
            ++run.x1;
            return;
        }
        if (run.x0 == x + 1) {
            --run.x0;
            return;
        }
    }
    out.push_back(Span{y, x, x + 1});
}

// The octants, numbered clockwise from the positive x axis (y grows down).
int octantOf(int dx, int dy) {
    if (dy > 0) {
        if (dx > 0) return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0) return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

// A horizontal or vertical run from a to b, a included and b not.
void runBetween(int a, int b, int& low, int& high) {
    if (a > b) {
        low = b + 1;
        high = a + 1;
    } else {
        low = a;
        high = b;
    }
}

// Half-way values round away from zero, as the pen's band corners do.
int roundHalfAway(double v) { return static_cast<int>(v > 0 ? v + 0.5 : v - 0.5); }

class WidePen {
public:
    explicit WidePen(int width)
        : width_(width), dot_(ellipticRegion(-(width / 2), -(width / 2), (width + 1) / 2 + 1, (width + 1) / 2 + 1)) {}

    Region take() { return region_.build(); }

    void dot(const Point& at) { region_.add(dot_, at.x, at.y); }

    // The band from a to b; its direction is (dx, dy), which the caller may
    // take from other points than a and b. False for a band of no length.
    bool band(const Point& a, const Point& b, int dx, int dy) {
        if (dx == 0 && dy == 0) return false;
        if (dy == 0) {
            const int top = a.y - width_ / 2;
            addRect(Rect{std::min(a.x, b.x), top, std::max(a.x, b.x), top + width_});
            return true;
        }
        if (dx == 0) {
            const int left = a.x - width_ / 2;
            addRect(Rect{left, std::min(a.y, b.y), left + width_, std::max(a.y, b.y)});
            return true;
        }
        const double length = std::hypot(dx, dy);
        const double across = width_ * std::abs(dy) / length;  // the band's horizontal extent
        const double down = width_ * std::abs(dx) / length;    // and its vertical one
        Point narrow{roundHalfAway(across / 2), roundHalfAway(down / 2)};
        Point wide{roundHalfAway((across + 1) / 2), roundHalfAway((down + 1) / 2)};
        if (dx < 0) {
            wide.y = -wide.y;
            narrow.y = -narrow.y;
        }
        if (dy < 0) {
            std::swap(narrow, wide);
            wide.x = -wide.x;
            narrow.x = -narrow.x;
        }
        const Point corners[4] = {{a.x - narrow.x, a.y + narrow.y},
                                  {a.x + wide.x, a.y - wide.y},
                                  {b.x + wide.x, b.y - wide.y},
                                  {b.x - narrow.x, b.y + narrow.y}};
        addPolygon(region_, corners, 4);
        return true;
    }

private:
    void addRect(const Rect& r) {
        for (int y = r.top; y < r.bottom; ++y) region_.add(y, r.left, r.right);
    }

    int width_;
    RegionBuilder region_;
    Region dot_;
};

}  // namespace

void thinLineSpans(Point from, Point to, std::vector<Span>& out) {
    int low = 0, high = 0;
    if (from.y == to.y) {
        runBetween(from.x, to.x, low, high);
        if (low < high) out.push_back(Span{from.y, low, high});
        return;
    }
    if (from.x == to.x) {
        runBetween(from.y, to.y, low, high);
        for (int y = low; y < high; ++y) out.push_back(Span{y, from.x, from.x + 1});
        return;
    }
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    const int octant = octantOf(dx, dy);
    // Ties go one way in octants 3, 5, 6 and 8 and the other in the rest,
    // so that a line drawn back from its end covers the same pixels.
    const int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    const bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
    const int xStep = (octant == 1 || octant == 2 || octant == 7 || octant == 8) ? 1 : -1;
    const int yStep = octant <= 4 ? 1 : -1;
    const int major = xMajor ? adx : ady;
    const int minor = xMajor ? ady : adx;
    const int diagonalAdd = 2 * minor - 2 * major;
    const int straightAdd = 2 * minor;
    int error = 2 * minor - major;
    int x = from.x;
    int y = from.y;
    for (int i = 0; i < major; ++i) {
        plot(out, x, y);
        const bool diagonal = error + bias > 0;
        error += diagonal ? diagonalAdd : straightAdd;
        if (xMajor) {
            if (diagonal) y += yStep;
            x += xStep;
        } else {
            if (diagonal) x += xStep;
            y += yStep;
        }
    }
}

void thinLinesSpans(const Point* points, int count, bool close, std::vector<Span>& out) {
    if (count < 2) return;
    for (int i = 0; i + 1 < count; ++i) thinLineSpans(points[i], points[i + 1], out);
    if (close) thinLineSpans(points[count - 1], points[0], out);
}

Region wideLinesRegion(const Point* points, int count, bool close, int width) {
    if (count < 2) return Region();
    // Repeated points at either end make no band and no corner.
    while (count > 2 && points[0] == points[1]) {
        ++points;
        --count;
    }
    while (count > 2 && points[count - 1] == points[count - 2]) --count;

    WidePen pen(width);

    // Bands run between consecutive points; with close the last one runs back
    // to the first point. Open ends get a dot, and so does every corner.
    const int segments = close ? count : count - 1;
    const Point& first = points[0];
    const Point& last = close ? points[0] : points[count - 1];
    auto pointAt = [&](int i) -> const Point& { return points[i % count]; };
    auto direction = [&](int i, int& dx, int& dy) {
        dx = pointAt(i + 1).x - pointAt(i).x;
        dy = pointAt(i + 1).y - pointAt(i).y;
    };
    int dx = 0, dy = 0;
    if (!close) {
        pen.dot(first);
        pen.dot(last);
    }
    if (segments == 1) {
        direction(0, dx, dy);
        pen.band(first, last, dx, dy);
        return pen.take();
    }
    direction(0, dx, dy);
    pen.band(first, pointAt(1), dx, dy);
    for (int i = 1; i < segments - 1; ++i) {
        direction(i, dx, dy);
        if (pen.band(pointAt(i), pointAt(i + 1), dx, dy)) pen.dot(pointAt(i));
    }
    direction(segments - 1, dx, dy);
    pen.band(pointAt(segments - 1), last, dx, dy);
    pen.dot(pointAt(segments - 1));
    if (close) pen.dot(last);
    return pen.take();
}

}  // namespace raster
