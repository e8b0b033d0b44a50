#pragma once
// The regions the platform makes from shapes: which pixels a polygon, a
// rounded rectangle or an ellipse covers, and the frame around a region.
// They follow the platform's own integer rules (edges stepped scanline by
// scanline from the top, the left pixel of a span in and the right one out),
// because a filled shape must cover exactly the pixels the plug-in's covers.
#include <vector>

#include "core/raster/geometry.h"
#include "core/raster/region.h"

namespace raster {

// The polygon through the points, closed, filled by the alternate (even-odd)
// rule. Fewer than two points give an empty region.
Region polygonRegion(const Point* points, int count);
// The same pixels, added to what region collects.
void addPolygon(RegionBuilder& region, const Point* points, int count);

// The rectangle's interior with corners rounded by an ellipse of
// cornerWidth x cornerHeight; as the platform makes it, the region stops one
// pixel short of right and bottom.
//
// For a corner ellipse at least twice as high as the square of one less than
// its width, the platform's curve reaches the ellipse's vertical axis before the
// tip, and it leaves the tip's rows uninitialised: Wine paints whatever its
// memory held there. Those rows are left empty here (the curve has ended),
// and when unsettled is given they are added to it as bands across the
// rows, so that a caller comparing with the platform can leave them out.
Region roundRectRegion(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                       std::vector<Rect>* unsettled = nullptr);
inline Region ellipticRegion(int left, int top, int right, int bottom) {
    return roundRectRegion(left, top, right, bottom, right - left, bottom - top);
}

// The pixels of region within `width` pixels of its edge horizontally or
// `height` pixels vertically: those that do not stay inside it when moved by
// that much left, right, up or down.
Region frameOf(const Region& region, int width, int height);

// The first quadrant of the ellipse that fills a width x height box, from the
// right end of its horizontal axis up to its top, as points relative to the
// box's top-left corner, in the lower half of the box (y from height / 2 on):
// the curve the platform strokes ellipses and arcs along.
std::vector<Point> ellipseQuadrant(int width, int height);

}  // namespace raster
