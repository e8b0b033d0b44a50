#include "object_kinds.h"

#include <array>

#include "core/format/block.h"

namespace vxa::tool {
namespace {

struct KindName {
  int8_t kind;
  const char* name;
};

constexpr std::array<KindName, 8> kKindNames = {{
    {ObjectKind::Polygon, "polygon"},
    {ObjectKind::Line, "line"},
    {ObjectKind::Oval, "oval"},
    {ObjectKind::Rect, "rect"},
    {ObjectKind::RoundRect, "roundrect"},
    {ObjectKind::Arc, "arc"},
    {ObjectKind::Text, "text"},
    {ObjectKind::Comment, "comment"},
}};

}  // namespace

std::optional<int8_t> kindFromName(const std::string& name) {
  for (const KindName& entry : kKindNames) {
    if (name == entry.name) return entry.kind;
  }
  return std::nullopt;
}

std::optional<std::string> nameOfKind(int8_t kind) {
  for (const KindName& entry : kKindNames) {
    if (kind == entry.kind) return std::string(entry.name);
  }
  return std::nullopt;
}

std::string kindNameList() {
  std::string list;
  for (const KindName& entry : kKindNames) {
    if (!list.empty()) list += ", ";
    list += entry.name;
  }
  return list;
}

}  // namespace vxa::tool
