#include "json_fields.h"

#include "byte_text.h"
#include "source_error.h"

namespace vxa::tool {
namespace {

std::string describe(const Json& value) {
  switch (value.type()) {
    case Json::value_t::object:
      return "an object";
    case Json::value_t::array:
      return "an array";
    case Json::value_t::null:
      return "null";
    default: {
      std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
      if (text.size() > 40) text = text.substr(0, 37) + "...";
      return text;
    }
  }
}

std::string rangeText(int64_t min, int64_t max) {
  return std::to_string(min) + ".." + std::to_string(max);
}

}  // namespace

std::string childPath(const std::string& path, const std::string& key) {
  return path.empty() ? key : path + "." + key;
}

std::string elementPath(const std::string& path, size_t index) {
  return path + "[" + std::to_string(index) + "]";
}

int64_t checkedInteger(const Json& value, const std::string& path, int64_t min, int64_t max) {
  if (!value.is_number_integer()) {
    sourceError(path, "expected an integer in " + rangeText(min, max) + ", found " + describe(value));
  }
  if (value.is_number_unsigned()) {
    const auto number = value.get<uint64_t>();
    if (number > static_cast<uint64_t>(max) || (min > 0 && number < static_cast<uint64_t>(min))) {
      sourceError(path, std::to_string(number) + " is outside " + rangeText(min, max));
    }
    return static_cast<int64_t>(number);
  }
  const auto number = value.get<int64_t>();
  if (number < min || number > max) {
    sourceError(path, std::to_string(number) + " is outside " + rangeText(min, max));
  }
  return number;
}

Fields::Fields(const Json& value, std::string path) : object_(value), path_(std::move(path)) {
  if (!value.is_object()) sourceError(path_, "expected an object, found " + describe(value));
}

const Json* Fields::value(const char* key) {
  used_.insert(key);
  const auto found = object_.find(key);
  return found == object_.end() ? nullptr : &*found;
}

const Json& Fields::required(const char* key) {
  const Json* found = value(key);
  if (found == nullptr) sourceError(path_, "missing \"" + std::string(key) + "\"");
  return *found;
}

int64_t Fields::integer(const char* key, int64_t min, int64_t max, int64_t fallback) {
  const Json* found = value(key);
  return found == nullptr ? fallback : checkedInteger(*found, pathOf(key), min, max);
}

int64_t Fields::requiredInteger(const char* key, int64_t min, int64_t max) {
  return checkedInteger(required(key), pathOf(key), min, max);
}

uint8_t Fields::colour(const char* key) {
  return static_cast<uint8_t>((integer(key, 0, 255, 0) + 1) & 0xFF);
}

int8_t Fields::flag(const char* key) {
  const Json* found = value(key);
  if (found == nullptr) return 0;
  if (found->is_boolean()) return found->get<bool>() ? 1 : 0;
  if (!found->is_number_integer()) {
    sourceError(pathOf(key), "expected true, false or an integer in -128..127, found " +
                                 describe(*found));
  }
  return static_cast<int8_t>(checkedInteger(*found, pathOf(key), -128, 127));
}

std::string Fields::bytes(const char* key) {
  const std::string found = text(key);
  return found.empty() ? found : textToBytes(found, pathOf(key));
}

std::string Fields::text(const char* key) {
  const Json* found = value(key);
  if (found == nullptr) return {};
  if (!found->is_string()) sourceError(pathOf(key), "expected a string, found " + describe(*found));
  return found->get<std::string>();
}

const Json* Fields::array(const char* key, size_t maxSize) {
  const Json* found = value(key);
  if (found == nullptr) return nullptr;
  if (!found->is_array()) sourceError(pathOf(key), "expected an array, found " + describe(*found));
  if (found->size() > maxSize) {
    sourceError(pathOf(key), std::to_string(found->size()) + " entries, at most " +
                                 std::to_string(maxSize));
  }
  return found;
}

void Fields::forbid(const char* key, const std::string& why) {
  if (has(key)) sourceError(pathOf(key), why);
  used_.insert(key);
}

void Fields::finish(const std::string& owner) {
  for (const auto& entry : object_.items()) {
    if (used_.count(entry.key()) == 0) {
      sourceError(pathOf(entry.key()), "unknown field (" + owner + " has no such field)");
    }
  }
}

}  // namespace vxa::tool
