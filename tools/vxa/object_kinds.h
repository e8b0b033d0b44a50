#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vxa::tool {

// Names of the object kinds in a JSON source; other kinds are written as numbers.
std::optional<int8_t> kindFromName(const std::string& name);
std::optional<std::string> nameOfKind(int8_t kind);
// "polygon, line, ..." for error messages.
std::string kindNameList();

}  // namespace vxa::tool
