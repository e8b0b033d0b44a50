#pragma once
#include "graphics/recorded_outline.h"
#include "graphics/shape_object.h"

// Kind 2: an ellipse inscribed in the rectangle.
class OvalObject : public ShapeObject {
public:
    OvalObject(int kind, const ObjectHeader& header);
    // Whether its wide outline is painted from a recording.
    bool outlineRecorded() const { return outline_.recorded(); }

protected:
    void paintShape(HDC context, const RECT& r) const override;
    // A wide pen's outline is recorded (RecordedOutline).
    void paintOutlined(OffscreenSurface& surface) override;

private:
    RecordedOutline outline_;
};
