#pragma once
#include "graphics/graphic_object.h"

// Kind 1: a straight line from (left, top) to (right, bottom), in that
// direction; the corners are not reordered.
class LineObject : public GraphicObject {
public:
    LineObject(int kind, const ObjectHeader& header);
    void draw(OffscreenSurface& surface) override;
};
