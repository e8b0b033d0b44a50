#include "arguments.h"

#include <cerrno>
#include <cstdlib>

#include "tool_failure.h"

namespace vxa::tool {

Arguments::Arguments(const std::string& command, const std::vector<std::string>& args, const Accepted& accepted) {
  bool haveInput = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (accepted.values.count(arg) || accepted.repeatable.count(arg)) {
      if (i + 1 == args.size()) usageError(arg + " needs a value");
      std::vector<std::string>& given = values_[arg];
      if (!given.empty() && accepted.values.count(arg)) usageError(arg + " given twice");
      given.push_back(args[++i]);
    } else if (accepted.flags.count(arg)) {
      flags_.insert(arg);
    } else if (arg.size() > 1 && arg[0] == '-') {
      usageError("unknown option \"" + arg + "\"");
    } else if (haveInput && !accepted.manyInputs) {
      usageError("more than one input file given");
    } else {
      if (!haveInput) input_ = arg;
      inputs_.push_back(arg);
      haveInput = true;
    }
  }
  if (!haveInput && !accepted.manyInputs) usageError(command + " needs an input file");
}

std::optional<std::string> Arguments::value(const std::string& option) const {
  const auto found = values_.find(option);
  if (found == values_.end()) return std::nullopt;
  return found->second.front();
}

const std::vector<std::string>& Arguments::values(const std::string& option) const {
  static const std::vector<std::string> none;
  const auto found = values_.find(option);
  return found == values_.end() ? none : found->second;
}

std::optional<long> Arguments::number(const std::string& option, long min, long max) const {
  const std::optional<std::string> text = value(option);
  if (!text) return std::nullopt;
  return parseNumber(*text, min, max, option);
}

long parseNumber(const std::string& text, long min, long max, const std::string& what) {
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || number < min || number > max) {
    usageError(what + " needs a whole number in " + std::to_string(min) + ".." + std::to_string(max) +
               ", not \"" + text + "\"");
  }
  return number;
}

}  // namespace vxa::tool
