#include "core/raster/canvas.h"

#include <algorithm>
#include <cstdlib>

#include "core/raster/pen_lines.h"
#include "core/raster/region_shapes.h"

namespace raster {

int Canvas::penWidth() const {
    if (!pen_.visible) return 0;
    return pen_.width < 1 ? 1 : pen_.width;
}

bool Canvas::penBox(int left, int top, int right, int bottom, Rect& box) const {
    const Point a = toDevice(Point{left, top});
    const Point b = toDevice(Point{right, bottom});
    box = Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    if (box.left == box.right || box.top == box.bottom) return false;
    if (pen_.visible) {
        const int width = penWidth();
        box.left += width / 2;
        box.top += width / 2;
        box.right -= (width - 1) / 2;
        box.bottom -= (width - 1) / 2;
    }
    return true;
}

Region Canvas::stroke(const std::vector<Point>& points, bool close) {
    if (!pen_.visible || points.size() < 2) return Region();
    const int count = static_cast<int>(points.size());
    if (penWidth() == 1) {
        lineSpans_.clear();
        thinLinesSpans(points.data(), count, close, lineSpans_);
        out().addSpans(lineSpans_.data(), lineSpans_.data() + lineSpans_.size(), Paint::solid(pen_.color));
        return Region();
    }
    return wideLinesRegion(points.data(), count, close, penWidth());
}

void Canvas::paintInsideAndOutline(const Region& inside, const Region& outline) {
    // The outline wins where the two meet: the platform paints the inside
    // less the outline, then the outline; painting the outline over the
    // whole inside leaves the same pixels.
    paintDevice(inside, brush_);
    paintDevice(outline, Paint::solid(pen_.color));
}

void Canvas::rectangle(int left, int top, int right, int bottom) {
    Rect box;
    if (!penBox(left, top, right, bottom, box)) return;
    --box.right;
    --box.bottom;
    const std::vector<Point> corners = {
        {box.right, box.top}, {box.left, box.top}, {box.left, box.bottom}, {box.right, box.bottom}};
    const bool wide = penWidth() > 1;
    Region outline = stroke(corners, true);
    if (wide) {
        paintInsideAndOutline(brush_.visible() ? Region::filled(box) : Region(), outline);
        flush();
        return;
    }
    // A thin pen or none: the inside is what the outline leaves, and without
    // a pen the shape still stops one pixel short of right and bottom.
    const int width = penWidth();
    const Rect inside{box.left + (width + 1) / 2, box.top + (width + 1) / 2, box.right - width / 2,
                      box.bottom - width / 2};
    out().addRect(inside, brush_);
    flush();
}

void Canvas::roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
    Rect box;
    if (!penBox(left, top, right, bottom, box)) return;
    cornerWidth = std::min(box.width(), std::abs(cornerWidth));
    cornerHeight = std::min(box.height(), std::abs(cornerHeight));
    if (cornerWidth <= 2 || cornerHeight <= 2) {
        rectangle(left, top, right, bottom);
        return;
    }
    const bool wide = penWidth() > 1;
    Region inside;
    if (brush_.visible()) {
        std::vector<Rect> unsettled;
        inside =
            roundRectRegion(box.left, box.top, box.right + 1, box.bottom + 1, cornerWidth, cornerHeight, &unsettled);
        for (const Rect& band : unsettled) out().addUnsettled(band);
        if (!wide) paintDevice(inside, brush_);
    }

    // The outline: the corner ellipse's quadrant placed in each corner,
    // counter-clockwise from the right end of the top edge.
    std::vector<Point> points = ellipseQuadrant(cornerWidth, cornerHeight);
    for (Point& p : points) {
        p.x = box.right - cornerWidth + p.x;
        p.y = box.top + cornerHeight - 1 - p.y;
    }
    int count = static_cast<int>(points.size());
    // Mirrored left to right, then top to bottom; a corner ellipse as wide
    // (or high) as the box shares its middle point, which is kept once.
    int end = 2 * count - 1;
    if (cornerWidth % 2 && cornerWidth == box.width()) --end;
    points.resize(static_cast<size_t>(end) + 1);
    for (int i = 0; i < count; ++i) {
        points[static_cast<size_t>(end - i)] = Point{box.left + box.right - 1 - points[i].x, points[i].y};
    }
    count = end + 1;
    end = 2 * count - 1;
    if (cornerHeight % 2 && cornerHeight == box.height()) --end;
    points.resize(static_cast<size_t>(end) + 1);
    for (int i = 0; i < count; ++i) {
        points[static_cast<size_t>(end - i)] = Point{points[i].x, box.top + box.bottom - 1 - points[i].y};
    }

    Region outline = stroke(points, true);
    if (wide) paintInsideAndOutline(inside, outline);
    flush();
}

void Canvas::ellipse(int left, int top, int right, int bottom) {
    roundRect(left, top, right, bottom, right - left, bottom - top);
}

void Canvas::polygon(const Point* points, int count) {
    if (count < 2) return;
    std::vector<Point> device(points, points + count);
    for (Point& p : device) p = toDevice(p);
    const bool wide = penWidth() > 1;
    Region inside;
    if (brush_.visible()) {
        inside = polygonRegion(device.data(), count);
        if (!wide) paintDevice(inside, brush_);
    }
    Region outline = stroke(device, true);
    if (wide) paintInsideAndOutline(inside, outline);
    flush();
}

void Canvas::polyline(const Point* points, int count) {
    if (count < 2) return;
    std::vector<Point> device(points, points + count);
    for (Point& p : device) p = toDevice(p);
    paintDevice(stroke(device, false), Paint::solid(pen_.color));
    flush();
}

void Canvas::line(Point from, Point to) {
    const std::vector<Point> device = {toDevice(from), toDevice(to)};
    paintDevice(stroke(device, false), Paint::solid(pen_.color));
    flush();
}

void Canvas::arc(int left, int top, int right, int bottom, Point first, Point second) {
    Rect box;
    if (!penBox(left, top, right, bottom, box)) return;
    const int width = box.width();
    const int height = box.height();
    const Point centre{box.left + width / 2, box.top + height / 2};
    Point start = toDevice(first);
    Point end = toDevice(second);
    // Relative to the centre, with y turned upwards: the quadrant's points
    // are taken counter-clockwise from the start radial to the end one.
    start = Point{start.x - centre.x, -(start.y - centre.y)};
    end = Point{end.x - centre.x, -(end.y - centre.y)};

    std::vector<Point> quadrant = ellipseQuadrant(width, height);
    const int count = static_cast<int>(quadrant.size());
    if (count == 0) return;
    for (Point& p : quadrant) {
        p.x -= width / 2;
        p.y -= height / 2;
    }
    // Position along the whole ellipse (4 * count steps, counter-clockwise
    // from the positive x axis) where the radial through (x, y) meets it.
    auto positionOf = [&](int x, int y) {
        int i = 0;
        if (y >= 0) {
            if (x >= 0) {
                while (i < count && quadrant[i].x * y > quadrant[i].y * x) ++i;
                return i;
            }
            while (i < count && quadrant[i].x * y >= quadrant[i].y * -x) ++i;
            return 2 * count - i;
        }
        if (x >= 0) {
            while (i < count && quadrant[i].x * -y > quadrant[i].y * x) ++i;
            return 4 * count - i;
        }
        while (i < count && quadrant[i].x * -y >= quadrant[i].y * -x) ++i;
        return 2 * count + i;
    };
    const int startPosition = positionOf(start.x, start.y);
    int endPosition = positionOf(end.x, end.y);
    if (endPosition <= startPosition) endPosition += 4 * count;

    std::vector<Point> points;
    points.reserve(static_cast<size_t>(endPosition - startPosition));
    for (int i = startPosition; i < endPosition; ++i) {
        const Point& forward = quadrant[static_cast<size_t>(i % count)];
        const Point& backward = quadrant[static_cast<size_t>(count - 1 - i % count)];
        switch ((i / count) % 4) {
            case 0:
                points.push_back({box.left + width / 2 + forward.x, box.bottom - 1 - height / 2 - forward.y});
                break;
            case 1:
                points.push_back({box.right - 1 - width / 2 - backward.x, box.bottom - 1 - height / 2 - backward.y});
                break;
            case 2: points.push_back({box.right - 1 - width / 2 - forward.x, box.top + height / 2 + forward.y}); break;
            default: points.push_back({box.left + width / 2 + backward.x, box.top + height / 2 + backward.y}); break;
        }
    }
    if (points.size() < 2) return;
    paintDevice(stroke(points, false), Paint::solid(pen_.color));
    flush();
}

void Canvas::fillRegion(const Region& region, const Paint& paint) {
    out().add(region, paint, -origin_.x, -origin_.y);
    flush();
}

void Canvas::frameRegion(const Region& region, const Paint& paint, int width, int height) {
    fillRegion(frameOf(region, width, height), paint);
}

void Canvas::fillRect(const Rect& rect, const Paint& paint) {
    if (!list_) {
        raster::fillRect(*image_, rect, paint);
        return;
    }
    list_->addRect(rect, paint);
}

void Canvas::paint(const DrawList& list, int dx, int dy) {
    list.paint(*image_, dx, dy);
    for (const Rect& band : list.unsettled()) {
        unsettled_.push_back(Rect{band.left + dx, band.top + dy, band.right + dx, band.bottom + dy});
    }
}

void Canvas::flush() {
    if (list_ || pending_.empty()) return;
    paint(pending_, 0, 0);
    pending_.clear();
}

}  // namespace raster
