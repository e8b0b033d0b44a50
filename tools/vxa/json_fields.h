#pragma once

#include <cstdint>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

namespace vxa::tool {

using Json = nlohmann::ordered_json;

std::string childPath(const std::string& path, const std::string& key);
std::string elementPath(const std::string& path, size_t index);

// Checked reading of one JSON object of a source: every value is checked for
// type and range, errors carry the value's JSON path, and keys that were never
// asked for are refused at the end, so a misspelt field cannot go unnoticed.
class Fields {
 public:
  Fields(const Json& value, std::string path);

  const std::string& path() const { return path_; }
  std::string pathOf(const std::string& key) const { return childPath(path_, key); }
  bool has(const char* key) const { return object_.contains(key); }

  int64_t integer(const char* key, int64_t min, int64_t max, int64_t fallback);
  int64_t requiredInteger(const char* key, int64_t min, int64_t max);
  // A colour-table index 0..255, returned as the stored colour byte (index + 1, modulo 256).
  uint8_t colour(const char* key);
  // A flag byte given as true/false or as a signed byte.
  int8_t flag(const char* key);
  // A string of one byte per character; see byte_text.h.
  std::string bytes(const char* key);
  // A string as it stands (UTF-8); empty when the key is absent.
  std::string text(const char* key);
  // An array, or nullptr when the key is absent.
  const Json* array(const char* key, size_t maxSize);
  // A JSON value of any type, or nullptr when the key is absent.
  const Json* value(const char* key);
  const Json& required(const char* key);

  // Refuses the key when present: `why` says why it does not belong here.
  void forbid(const char* key, const std::string& why);
  // Refuses the first key that was not read. `owner` names what has no such field.
  void finish(const std::string& owner);

 private:
  const Json& object_;
  std::string path_;
  std::set<std::string> used_;
};

// Checks that `value` (at `path`) is an integer in min..max.
int64_t checkedInteger(const Json& value, const std::string& path, int64_t min, int64_t max);

}  // namespace vxa::tool
