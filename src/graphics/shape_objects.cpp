#include "core/tables/color_table.h"
#include "graphics/offscreen_surface.h"
#include "graphics/oval_object.h"
#include "graphics/rect_object.h"
#include "graphics/round_rect_object.h"

void ShapeObject::draw(OffscreenSurface& surface) {
    HDC context = surface.handle();
    const ObjectHeader& values = header();

    if (hasSolidLine()) {
        // An inside-frame pen keeps the outline within the rectangle.
        selectPen(surface);
        selectBrush(surface, BrushChoice::Fill);
        paintOutlined(surface);
        return;
    }

    // A patterned line is a ring: the whole shape in the line pattern, then
    // the inner shape over it, with no outline stroked.
    fw::Pen noOutline(static_cast<HPEN>(GetStockObject(NULL_PEN)));
    surface.adoptPen(noOutline);
    if (values.linePattern != Pattern::None) {
        selectBrush(surface, BrushChoice::Line);
        paintShape(context, rect());
    }
    if (values.fillPattern != Pattern::None) {
        selectBrush(surface, BrushChoice::Fill);
        paintShape(context, innerRect());
    } else if (values.linePattern != Pattern::None) {
        // An unfilled shape would show the line pattern through its inside:
        // the inside is painted in the second fill colour instead.
        fw::Brush inside(CreateSolidBrush(colorForIndex(values.fillColor2)));
        surface.adoptBrush(inside);
        paintShape(context, innerRect());
    }
}

void ShapeObject::paintOutlined(OffscreenSurface& surface) { paintShape(surface.handle(), rect()); }

OvalObject::OvalObject(int kind, const ObjectHeader& header) : ShapeObject(kind, header) {}

void OvalObject::paintShape(HDC context, const RECT& r) const { Ellipse(context, r.left, r.top, r.right, r.bottom); }

void OvalObject::paintOutlined(OffscreenSurface& surface) {
    if (header().lineWidth < 2) {
        ShapeObject::paintOutlined(surface);
        return;
    }
    const RECT r = rect();
    outline_.draw(surface.handle(), r, header().lineWidth, penColor(), header().fillPattern != Pattern::None,
                  surface.recordingBudget(), [&](HDC context) { paintShape(context, r); });
}

RectObject::RectObject(int kind, const ObjectHeader& header) : ShapeObject(kind, header) {}

void RectObject::paintShape(HDC context, const RECT& r) const {
    Rectangle(context, r.left, r.top, r.right, r.bottom);
}

RoundRectObject::RoundRectObject(int kind, const ObjectHeader& header, int16_t cornerWidth, int16_t cornerHeight)
    : ShapeObject(kind, header), cornerWidth_(cornerWidth), cornerHeight_(cornerHeight) {}

void RoundRectObject::paintShape(HDC context, const RECT& r) const {
    RoundRect(context, r.left, r.top, r.right, r.bottom, cornerWidth_, cornerHeight_);
}
