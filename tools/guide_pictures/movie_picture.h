#pragma once
// A movie given as a JSON source, drawn as the plug-in shows it once the
// whole stream has arrived.
#include <vector>

#include "core/raster/image.h"
#include "json_fields.h"

namespace guide {

// The stream that `vxa build` writes for the source.
std::vector<uint8_t> buildStream(const vxa::tool::Json& source);

// Every frame of the movie, left to right with a grey gap between them (a
// movie of one frame is just that frame). Throws std::runtime_error when a
// frame cannot be drawn whole.
raster::Image drawFrames(const std::vector<uint8_t>& stream);

}  // namespace guide
