#include "json_printer.h"

#include <cstdio>

namespace vxa::tool {
namespace {

constexpr size_t kLineWidth = 100;

// The JSON library escapes only C0 controls; DEL and the C1 controls (bytes
// 0x7F..0x9F of a stream string) are escaped too so that they stay visible.
std::string scalar(const Json& value) {
  const std::string text = value.dump(-1, ' ', false);
  if (!value.is_string()) return text;
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    unsigned control = 0x100;
    if (byte == 0x7F) {
      control = 0x7F;
    } else if (byte == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      control = static_cast<unsigned char>(text[++i]);
    }
    if (control == 0x100) {
      out.push_back(text[i]);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", control);
      out += escape;
    }
  }
  return out;
}

bool isContainer(const Json& value) { return value.is_object() || value.is_array(); }

// Containers nest at most three levels on one line: {"items": [{"x": 1}]}.
bool flatEnough(const Json& value, int depth) {
  if (!isContainer(value)) return true;
  if (depth == 0) return false;
  for (const auto& member : value) {
    if (!flatEnough(member, depth - 1)) return false;
  }
  return true;
}

std::string oneLine(const Json& value) {
  if (value.is_object()) {
    std::string text = "{";
    for (const auto& member : value.items()) {
      if (text.size() > 1) text += ", ";
      text += scalar(Json(member.key())) + ": " + oneLine(member.value());
    }
    return text + "}";
  }
  if (value.is_array()) {
    std::string text = "[";
    for (const auto& member : value) {
      if (text.size() > 1) text += ", ";
      text += oneLine(member);
    }
    return text + "]";
  }
  return scalar(value);
}

void print(const Json& value, size_t indent, size_t prefix, std::string& out) {
  if (!isContainer(value) || value.empty() || flatEnough(value, 3)) {
    const std::string line = oneLine(value);
    if (!isContainer(value) || value.empty() || indent + prefix + line.size() <= kLineWidth) {
      out += line;
      return;
    }
  }
  const std::string inner(indent + 2, ' ');
  const bool object = value.is_object();
  out += object ? "{\n" : "[\n";
  bool first = true;
  for (const auto& member : value.items()) {
    if (!first) out += ",\n";
    first = false;
    out += inner;
    size_t keyLength = 0;
    if (object) {
      const std::string key = scalar(Json(member.key())) + ": ";
      out += key;
      keyLength = key.size();
    }
    print(member.value(), indent + 2, keyLength, out);
  }
  out += "\n" + std::string(indent, ' ') + (object ? "}" : "]");
}

}  // namespace

std::string printJson(const Json& value) {
  std::string out;
  print(value, 0, 0, out);
  return out + "\n";
}

}  // namespace vxa::tool
