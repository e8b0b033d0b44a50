#pragma once
// Lines as the platform's pens draw them. A one-pixel pen steps from pixel to
// pixel (Bresenham, with the platform's tie rule per octant) and leaves out
// each line's end pixel, so that joined lines never paint a pixel twice. A
// wider pen is a region: a band along each line, and a round dot of the pen's
// width at every end and every corner.
#include <vector>

#include "core/raster/geometry.h"
#include "core/raster/image.h"
#include "core/raster/region.h"

namespace raster {

// The pixels from `from` up to, not including, `to`, appended to out as runs
// (neighbours in a row joined).
void thinLineSpans(Point from, Point to, std::vector<Span>& out);

// The lines through the points, and with close the one back to the first.
void thinLinesSpans(const Point* points, int count, bool close, std::vector<Span>& out);

// What a pen `width` (> 1) pixels wide covers along the same lines.
Region wideLinesRegion(const Point* points, int count, bool close, int width);

}  // namespace raster
