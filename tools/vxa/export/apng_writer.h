#pragma once
// An animated PNG of a movie's frames: every pixel exactly as drawn, the
// blended edges of smoothed text included. libpng compresses each frame;
// only the animation's chunks (acTL, fcTL, fdAT) are framed here. Each frame
// after the first stores only the rectangle that changed. A viewer without
// APNG support shows the first frame.
#include <cstdint>
#include <vector>

#include "core/raster/image.h"

namespace vxa::tool {

class ApngWriter {
 public:
  // The next frame, shown for durationMs. The first gives the size.
  void addFrame(const raster::Image& picture, uint32_t durationMs);
  // The whole file. The animation plays once and stays on its last frame,
  // as the plug-in leaves a movie's last frame in its window.
  std::vector<uint8_t> finish();

 private:
  struct Frame {
    uint32_t x, y, width, height, durationMs;
    std::vector<uint8_t> data;  // the zlib stream of its pixels
  };
  raster::Image previous_;
  std::vector<Frame> frames_;
};

}  // namespace vxa::tool
