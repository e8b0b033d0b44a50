#pragma once

#include "json_fields.h"
#include "movie/format/stream.h"

namespace vxa::tool {

// Turns a JSON source (see docs/vxa-source.md) into a stream. Throws
// SourceError naming the JSON path of the first fault.
Stream readSource(const Json& source);

}  // namespace vxa::tool
