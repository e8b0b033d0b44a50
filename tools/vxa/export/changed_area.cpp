#include "changed_area.h"

#include <algorithm>

namespace vxa::tool {

Area changedArea(const raster::Image& before, const raster::Image& after) {
  int left = after.width, right = -1, top = -1, bottom = -1;
  for (int y = 0; y < after.height; ++y) {
    const uint32_t* a = before.row(y);
    const uint32_t* b = after.row(y);
    int first = 0;
    while (first < after.width && a[first] == b[first]) ++first;
    if (first == after.width) continue;
    int last = after.width - 1;
    while (a[last] == b[last]) --last;
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, first);
    right = std::max(right, last);
  }
  if (top < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

}  // namespace vxa::tool
