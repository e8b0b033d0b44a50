#pragma once
// A command's arguments: one input file, options that take a value (some of
// them repeatable) and flags. Anything else is a usage error.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vxa::tool {

class Arguments {
 public:
  struct Accepted {
    std::set<std::string> values;      // take one value each, at most once
    std::set<std::string> repeatable;  // take one value each, any number of times
    std::set<std::string> flags;       // take no value
    // Any number of input files, none included, instead of exactly one.
    bool manyInputs = false;
  };

  // args: what follows the command's name.
  Arguments(const std::string& command, const std::vector<std::string>& args, const Accepted& accepted);

  const std::string& input() const { return input_; }
  const std::vector<std::string>& inputs() const { return inputs_; }
  std::optional<std::string> value(const std::string& option) const;
  const std::vector<std::string>& values(const std::string& option) const;
  bool flag(const std::string& option) const { return flags_.count(option) != 0; }

  // The option's value as a whole number in min..max; usage error otherwise.
  std::optional<long> number(const std::string& option, long min, long max) const;

 private:
  std::string input_;
  std::vector<std::string> inputs_;
  std::map<std::string, std::vector<std::string>> values_;
  std::set<std::string> flags_;
};

// A whole number in min..max, or a usage error naming `what`.
long parseNumber(const std::string& text, long min, long max, const std::string& what);

}  // namespace vxa::tool
