#pragma once

#include "json_fields.h"
#include "movie/format/stream.h"

namespace vxa::tool {

// The JSON source form of a stream: required fields always, every other field
// only when it differs from its default, so that reading the result back
// gives the same stream.
Json writeSource(const Stream& stream);

}  // namespace vxa::tool
