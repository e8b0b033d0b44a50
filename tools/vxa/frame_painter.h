#pragma once
// The picture the plug-in's window shows when a frame has just been shown:
// the frame's record and groups as the movie model holds them at that
// moment, composed by the portable renderer in the Liberation fonts.
#include <optional>

#include "core/model/movie_model.h"
#include "core/raster/frame_composer.h"

namespace vxa::tool {

// The Liberation font files the renderer draws text with, read once from the
// system's fonts (Debian's fonts-liberation).
raster::FontLibrary& systemFonts();
// The same files added to a library of the caller's (one per thread).
void addSystemFonts(raster::FontLibrary& library);

class FramePainter {
 public:
  // Fails when the movie has no picture (a width or height of 0 or less).
  explicit FramePainter(const vxa::MovieModel& movie);

  // Frame n must be in the model with every group it places.
  const raster::Image& paint(int16_t n);
  const raster::Image& picture() const { return composer_->picture(); }

 private:
  const vxa::MovieModel& movie_;
  std::optional<raster::FrameComposer> composer_;
};

}  // namespace vxa::tool
