#pragma once
#include "graphics/shape_object.h"

// Kind 2: an ellipse inscribed in the rectangle.
class OvalObject : public ShapeObject {
public:
    OvalObject(int kind, const ObjectHeader& header);

protected:
    void paintShape(HDC context, const RECT& r) const override;
};
