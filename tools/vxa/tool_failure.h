#pragma once
// How a command gives up: a one-line message and the exit status, 1 for bad
// input and 2 for a wrong command line. main prints it as "vxa: MESSAGE".
#include <string>

namespace vxa::tool {

struct Failure {
  int status;
  std::string message;
};

[[noreturn]] inline void fail(const std::string& message) { throw Failure{1, message}; }
[[noreturn]] inline void usageError(const std::string& message) {
  throw Failure{2, message + " (see vxa --help)"};
}

}  // namespace vxa::tool
