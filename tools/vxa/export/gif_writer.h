#pragma once
// An animated GIF of a movie's frames, encoded by giflib. Its one global
// colour table is the movie colour table itself, so every colour the movie
// names keeps its index and its exact value. Pixels off the table (the
// blended edges of smoothed text) take the nearest colour of the table.
// Each frame after the first stores only the rectangle that changed.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/raster/image.h"

namespace vxa::tool {

class GifWriter {
 public:
  GifWriter();
  ~GifWriter();
  GifWriter(const GifWriter&) = delete;
  GifWriter& operator=(const GifWriter&) = delete;

  // The next frame, shown for durationMs. The first gives the size.
  void addFrame(const raster::Image& picture, uint32_t durationMs);
  // The whole file. The animation plays once and stays on its last frame,
  // as the plug-in leaves a movie's last frame in its window.
  std::vector<uint8_t> finish();

 private:
  struct Encoder;
  std::unique_ptr<Encoder> encoder_;
};

}  // namespace vxa::tool
