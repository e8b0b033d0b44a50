#pragma once
#include <cstdint>

#include "graphics/shape_object.h"

// Kind 4: a rectangle whose corners are rounded by a cornerWidth x
// cornerHeight ellipse; the ring of a patterned line uses the same corners
// for its outer and inner shape.
class RoundRectObject : public ShapeObject {
public:
    RoundRectObject(int kind, const ObjectHeader& header, int16_t cornerWidth, int16_t cornerHeight);

    int16_t cornerWidth() const { return cornerWidth_; }
    int16_t cornerHeight() const { return cornerHeight_; }

protected:
    void paintShape(HDC context, const RECT& r) const override;

private:
    int16_t cornerWidth_;
    int16_t cornerHeight_;
};
