// The pens and brushes an object draws with, made afresh on every draw and
// handed to the surface, which deletes the ones they replace.
#include "core/tables/color_table.h"
#include "graphics/graphic_object.h"
#include "graphics/offscreen_surface.h"

void GraphicObject::selectPen(OffscreenSurface& surface) const {
    fw::Pen pen;
    if (header_.linePattern == Pattern::None) {
        pen.reset(static_cast<HPEN>(GetStockObject(NULL_PEN)));
    } else {
        pen.reset(CreatePen(PS_INSIDEFRAME, header_.lineWidth, penColor()));
    }
    surface.adoptPen(pen);
}

COLORREF GraphicObject::penColor() const {
    // Only pattern 0 takes the second colour; a real pattern can't be
    // imitated by a pen and is drawn solid in the first.
    return colorForIndex(header_.linePattern == Pattern::SolidSecond ? header_.lineColor2 : header_.lineColor1);
}

void GraphicObject::selectBrush(OffscreenSurface& surface, BrushChoice choice) const {
    const bool fill = choice == BrushChoice::Fill;
    const int16_t pattern = fill ? header_.fillPattern : header_.linePattern;
    fw::Brush brush;
    if (pattern == Pattern::None) {
        brush.reset(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    } else if (fill) {
        surface.makePatternBrush(pattern, header_.fillColor1, header_.fillColor2, brush);
    } else {
        surface.makePatternBrush(pattern, header_.lineColor1, header_.lineColor2, brush);
    }
    surface.adoptBrush(brush);
}
