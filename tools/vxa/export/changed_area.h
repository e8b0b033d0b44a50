#pragma once
// The part of a picture that differs from the one before it. The animated
// formats store only that part of each later frame: a movie usually moves a
// few groups over a still background.
#include "core/raster/image.h"

namespace vxa::tool {

struct Area {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
};

// The smallest rectangle holding every pixel in which the two pictures (of
// one size) differ; empty when they are the same.
Area changedArea(const raster::Image& before, const raster::Image& after);

}  // namespace vxa::tool
