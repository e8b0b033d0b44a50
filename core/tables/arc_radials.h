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

// Whether an arc is drawn at all: only when its inside-frame pen (lineWidth
// pixels, at least one) is no wider than its box is wide and high. Wine's arc
// drawing sizes its work buffer from the box the pen leaves inside, and a
// box that the pen more than fills overruns it and corrupts the host's heap;
// such an arc would show at most a blot of the pen.
bool arcFitsItsPen(int left, int top, int right, int bottom, int lineWidth);
