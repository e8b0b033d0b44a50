#pragma once
// Integer points and rectangles in the platform's sense: a rectangle covers
// the pixels from (left, top) up to, not including, (right, bottom).
namespace raster {

struct Point {
    int x = 0;
    int y = 0;
};

inline bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(Point a, Point b) { return !(a == b); }

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return left >= right || top >= bottom; }
};

inline Rect intersection(const Rect& a, const Rect& b) {
    return Rect{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
                a.bottom < b.bottom ? a.bottom : b.bottom};
}

inline Rect unionOf(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Rect{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top, a.right > b.right ? a.right : b.right,
                a.bottom > b.bottom ? a.bottom : b.bottom};
}

}  // namespace raster
