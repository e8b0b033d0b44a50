#pragma once

#include "json_fields.h"
#include "core/format/stream.h"

namespace vxa::tool {

// Turns a JSON source (see docs/vxa-source.md) into the pieces of a stream:
// blocks, and raw bytes where the source gives them. Throws SourceError
// naming the JSON path of the first fault.
StreamPieces readSource(const Json& source);

}  // namespace vxa::tool
