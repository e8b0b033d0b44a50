#include "graphics/polygon_object.h"

#include <algorithm>
#include <new>

#include "graphics/offscreen_surface.h"

PolygonObject::PolygonObject(int kind, const ObjectHeader& header, int16_t count, const POINT* points)
    : GraphicObject(kind, header) {
    if (count <= 0 || !points) return;
    // A list that can't be had leaves a polygon without points, not a
    // failed movie.
    points_.reset(new (std::nothrow) POINT[count]);
    if (!points_) return;
    std::copy(points, points + count, points_.get());
    pointCount_ = count;
}

void PolygonObject::draw(OffscreenSurface& surface) {
    HDC context = surface.handle();
    const ObjectHeader& values = header();

    if (hasSolidLine()) {
        selectPen(surface);
        selectBrush(surface, BrushChoice::Fill);
        if (pointCount_ == 0) return;
        if (values.fillPattern == Pattern::None) {
            // Without a fill the outline stays open: the last point is not
            // joined to the first.
            Polyline(context, points_.get(), pointCount_);
        } else {
            Polygon(context, points_.get(), pointCount_);
        }
        return;
    }

    // A patterned line can't be a pen: the closed outline is framed with the
    // line brush instead, and the selected pen and brush stay as they are.
    if (pointCount_ == 0) return;
    fw::Brush fill;
    fw::Brush line;
    surface.makeShapeBrushes(values, fill, line);
    fw::Region region(CreatePolygonRgn(points_.get(), pointCount_, ALTERNATE));
    if (!region) return;
    if (values.fillPattern != Pattern::None) FillRgn(context, region.handle(), fill.handle());
    if (values.linePattern != Pattern::None) {
        FrameRgn(context, region.handle(), line.handle(), values.lineWidth, values.lineWidth);
    }
}
