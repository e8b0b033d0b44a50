#pragma once
// Where an arc starts and ends. The stream gives angles in degrees, clockwise
// from 12 o'clock; the platform's arc wants a point on each radial. The point
// is computed once per arc object, the same way wherever arcs are drawn.
struct RadialPoint {
    int x;
    int y;
};

// A point on the radial of `angle` through the centre of the rectangle: on
// its top or bottom edge at 0 and 180 degrees, on its right or left edge line
// otherwise (possibly above or below the rectangle; only the direction from
// the centre counts). Any angle is brought into 0..359 first.
RadialPoint arcRadialPoint(int left, int top, int right, int bottom, int angle);
