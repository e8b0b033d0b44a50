#pragma once
#include "graphics/graphic_object.h"

// What rectangles, ovals and rounded rectangles share: an outline and a fill
// from the object's patterns, of which only the shape's primitive differs.
class ShapeObject : public GraphicObject {
public:
    using GraphicObject::GraphicObject;
    void draw(OffscreenSurface& surface) override;

protected:
    // Paints the shape on r with the selected pen and brush.
    virtual void paintShape(HDC context, const RECT& r) const = 0;
    // Paints the shape on its rectangle with the object's own solid pen and
    // its fill brush, both selected.
    virtual void paintOutlined(OffscreenSurface& surface);
};
