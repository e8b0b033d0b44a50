#pragma once
#include <cstdint>

#include "graphics/graphic_object.h"
#include "graphics/recorded_outline.h"

// Kind 5: part of the ellipse inscribed in the rectangle, from a start angle
// clockwise through a sweep. Angles are degrees clockwise from 12 o'clock.
class ArcObject : public GraphicObject {
public:
    ArcObject(int kind, const ObjectHeader& header, int16_t startAngle, int16_t sweep);
    void draw(OffscreenSurface& surface) override;

    // Points on the radials of the start angle and of start + sweep; only
    // their direction from the centre counts.
    const POINT& startPoint() const { return startPoint_; }
    const POINT& endPoint() const { return endPoint_; }
    // Whether its wide line is painted from a recording.
    bool outlineRecorded() const { return outline_.recorded(); }

private:
    POINT radialPoint(int angle) const;

    POINT startPoint_;
    POINT endPoint_;
    // A wide pen's arc is recorded (RecordedOutline).
    RecordedOutline outline_;
};
