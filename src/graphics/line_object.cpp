#include "graphics/line_object.h"

#include "graphics/offscreen_surface.h"

LineObject::LineObject(int kind, const ObjectHeader& header) : GraphicObject(kind, header) {}

void LineObject::draw(OffscreenSurface& surface) {
    const ObjectHeader& values = header();
    if (values.linePattern == Pattern::None) return;
    // A patterned line is drawn solid: a pen can't carry the pattern.
    selectPen(surface);
    MoveToEx(surface.handle(), values.left, values.top, nullptr);
    LineTo(surface.handle(), values.right, values.bottom);
}
