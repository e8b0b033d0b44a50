#pragma once
#include <cstdint>
#include <memory>

#include "graphics/graphic_object.h"

// Kind 0: an open or closed outline through a list of points.
class PolygonObject : public GraphicObject {
public:
    // Copies count points from points. When count is 0 or less, or the copy
    // can't be allocated, the polygon has no points and draws nothing.
    PolygonObject(int kind, const ObjectHeader& header, int16_t count, const POINT* points);

    void draw(OffscreenSurface& surface) override;

    int16_t pointCount() const { return pointCount_; }
    const POINT* points() const { return points_.get(); }

private:
    int16_t pointCount_ = 0;
    std::unique_ptr<POINT[]> points_;
};
