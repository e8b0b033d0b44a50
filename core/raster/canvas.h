#pragma once
// A drawing surface with the state the plug-in's drawing code relies on: a
// window origin that moves group coordinates onto the picture, one selected
// pen and one selected brush. Its shape operations cover the same pixels as
// the platform's on a 32-bit surface, in the same order (a shape's inside is
// painted first and its outline over it). A canvas paints a picture at once,
// or records what it would paint into a draw list.
#include <vector>

#include "core/raster/draw_list.h"
#include "core/raster/geometry.h"
#include "core/raster/image.h"
#include "core/raster/paint.h"
#include "core/raster/region.h"

namespace raster {

// The plug-in's only pen: solid, inside-frame (a shape's outline stays within
// its rectangle), or none at all.
struct Pen {
    bool visible = false;
    int width = 0;  // 0 draws as 1
    uint32_t color = 0;

    static Pen none() { return Pen{}; }
    static Pen insideFrame(int width, uint32_t color) { return Pen{true, width, color}; }
};

class Canvas {
public:
    explicit Canvas(Image& image) : image_(&image) {}
    explicit Canvas(DrawList& record) : list_(&record) {}

    // Only for a canvas on a picture.
    Image& image() { return *image_; }

    // Logical point (x, y) lands on the picture at (x - origin.x, y - origin.y).
    void setWindowOrigin(Point origin) { origin_ = origin; }
    Point windowOrigin() const { return origin_; }

    void selectPen(const Pen& pen) { pen_ = pen; }
    void selectBrush(const Paint& brush) { brush_ = brush; }

    // Shapes in logical coordinates, drawn with the selected pen and brush.
    void rectangle(int left, int top, int right, int bottom);
    void roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void ellipse(int left, int top, int right, int bottom);
    void polygon(const Point* points, int count);
    void polyline(const Point* points, int count);
    void line(Point from, Point to);
    // The part of the ellipse in the box running counter-clockwise from the
    // radial through `first` to the radial through `second`.
    void arc(int left, int top, int right, int bottom, Point first, Point second);

    // A region in logical coordinates painted with paint, and the frame of
    // such a region; the selected pen and brush are not used.
    void fillRegion(const Region& region, const Paint& paint);
    void frameRegion(const Region& region, const Paint& paint, int width, int height);
    // Bands of the picture where the platform paints from memory it never
    // set (see roundRectRegion), in device coordinates, as drawn so far.
    const std::vector<Rect>& unsettled() const { return list_ ? list_->unsettled() : unsettled_; }

    // A rectangle on the picture, device coordinates.
    void fillRect(const Rect& rect, const Paint& paint);
    // A recorded drawing, moved by (dx, dy) device pixels; only for a canvas
    // on a picture.
    void paint(const DrawList& list, int dx, int dy);

private:
    Point toDevice(Point p) const { return Point{p.x - origin_.x, p.y - origin_.y}; }
    int penWidth() const;
    // The shape's box on the picture, shrunk for an inside-frame pen; false
    // when it has no width or no height.
    bool penBox(int left, int top, int right, int bottom, Rect& box) const;
    // Strokes lines in device coordinates: a thin pen paints at once, a wide
    // one returns what it covers (painted by the caller after the inside).
    Region stroke(const std::vector<Point>& points, bool close);
    void paintInsideAndOutline(const Region& inside, const Region& outline);
    void paintDevice(const Region& region, const Paint& paint) { out().add(region, paint); }
    // Where shapes go: the recording, or the list a picture's canvas paints
    // at the end of each shape.
    DrawList& out() { return list_ ? *list_ : pending_; }
    void flush();

    Image* image_ = nullptr;
    DrawList* list_ = nullptr;
    DrawList pending_;
    std::vector<Span> lineSpans_;
    Point origin_;
    Pen pen_;
    Paint brush_;
    std::vector<Rect> unsettled_;
};

}  // namespace raster
