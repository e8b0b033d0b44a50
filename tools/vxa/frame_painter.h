#pragma once
// The picture the plug-in's window shows when a frame has just been shown:
// the frame's record and groups as the movie model holds them at that
// moment, composed by the portable renderer in the Liberation fonts.
#include <memory>
#include <vector>

#include "graphics/raster/renderer.h"
#include "movie/model/movie_model.h"

namespace vxa::tool {

// The Liberation font files the renderer draws text with, read once from the
// system's fonts (Debian's fonts-liberation).
raster::FontLibrary& systemFonts();

class FramePainter {
 public:
  // Fails when the movie has no picture (a width or height of 0 or less).
  explicit FramePainter(const vxa::MovieModel& movie);

  // Frame n must be in the model with every group it places.
  const raster::Image& paint(int16_t n);
  const raster::Image& picture() const { return picture_; }

 private:
  const vxa::MovieModel& movie_;
  raster::GroupTable groups_;
  // What each slot of groups_ was prepared from; held so that a record the
  // model has replaced cannot be mistaken for a new one at the same address.
  std::vector<std::shared_ptr<const vxa::GroupRecord>> prepared_;
  raster::Image picture_;
};

}  // namespace vxa::tool
