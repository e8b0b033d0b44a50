#pragma once
#include "graphics/shape_object.h"

// Kind 3: a rectangle.
class RectObject : public ShapeObject {
public:
    RectObject(int kind, const ObjectHeader& header);

protected:
    void paintShape(HDC context, const RECT& r) const override;
};
