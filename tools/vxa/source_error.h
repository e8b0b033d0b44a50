#pragma once

#include <stdexcept>
#include <string>

namespace vxa::tool {

// A fault in a JSON source; the message starts with the JSON path it concerns.
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void sourceError(const std::string& path, const std::string& what) {
  throw SourceError(path.empty() ? what : path + ": " + what);
}

}  // namespace vxa::tool
