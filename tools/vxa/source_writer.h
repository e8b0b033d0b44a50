#pragma once

#include "json_fields.h"
#include "core/format/stream.h"

namespace vxa::tool {

// The JSON source form of a stream: required fields always, every other field
// only when it differs from its default, and the pieces that do not decode as
// raw bytes with a note of what is wrong, so that reading the result back
// gives the same stream.
Json writeSource(const StreamPieces& stream);

}  // namespace vxa::tool
