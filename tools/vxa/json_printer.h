#pragma once

#include <string>

#include "json_fields.h"

namespace vxa::tool {

// Pretty JSON that stays readable for movies: a value that fits on one line
// (an item, a point list, a small object) is written on one line, larger ones
// one member per line. Ends with a newline.
std::string printJson(const Json& value);

}  // namespace vxa::tool
