#include "scan_table.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

namespace vxa::tool {
namespace {

using Json = nlohmann::ordered_json;

// The one list of the table's columns: each with how it is set in JSON.
struct Column {
  const char* name;
  std::function<Json(const ScanRow&)> value;
};

Json orNull(const std::string& text) { return text.empty() ? Json() : Json(text); }

const std::vector<Column>& columns() {
  static const std::vector<Column> kColumns = {
      {"path", [](const ScanRow& r) { return Json(r.path); }},
      {"bytes", [](const ScanRow& r) { return Json(r.bytes); }},
      {"error", [](const ScanRow& r) { return orNull(r.error); }},
      {"layout", [](const ScanRow& r) { return orNull(r.layout); }},
      {"width", [](const ScanRow& r) { return Json(r.width); }},
      {"height", [](const ScanRow& r) { return Json(r.height); }},
      {"rate", [](const ScanRow& r) { return Json(r.rate); }},
      {"loops", [](const ScanRow& r) { return Json(r.loops); }},
      {"wait_for_click", [](const ScanRow& r) { return Json(r.waitsForClick); }},
      {"frames_declared", [](const ScanRow& r) { return Json(r.framesDeclared); }},
      {"frames_present", [](const ScanRow& r) { return Json(r.framesPresent); }},
      {"groups_declared", [](const ScanRow& r) { return Json(r.groupsDeclared); }},
      {"groups_present", [](const ScanRow& r) { return Json(r.groupsPresent); }},
      {"one_pass_ms", [](const ScanRow& r) { return r.onePassMs ? Json(*r.onePassMs) : Json(); }},
      {"plays_to_end", [](const ScanRow& r) { return Json(r.playsToEnd); }},
      {"findings", [](const ScanRow& r) { return Json(r.findings); }},
      {"first_finding", [](const ScanRow& r) { return orNull(r.firstFinding); }},
      {"sounds", [](const ScanRow& r) { return Json(r.sounds); }},
      {"sounds_missing", [](const ScanRow& r) { return Json(r.soundsMissing); }},
      {"faces", [](const ScanRow& r) { return Json(r.faces); }},
      {"poster", [](const ScanRow& r) { return orNull(r.poster); }},
  };
  return kColumns;
}

// RFC 4180: a field with a comma, quote or line break is quoted, quotes
// doubled.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string csvText(const Json& value, const char* separator) {
  if (value.is_null()) return "";
  if (value.is_string()) return value.get<std::string>();
  if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
  if (value.is_array()) {
    std::string joined;
    for (const Json& item : value) joined += (joined.empty() ? "" : separator) + csvText(item, separator);
    return joined;
  }
  return value.dump();
}

}  // namespace

std::string tableHeader(TableFormat format) {
  if (format != TableFormat::Csv) return "";
  std::string line;
  for (const Column& column : columns()) line += (line.empty() ? "" : ",") + std::string(column.name);
  return line;
}

std::string tableLine(const ScanRow& row, TableFormat format) {
  if (format == TableFormat::JsonLines) {
    Json object = Json::object();
    for (const Column& column : columns()) object[column.name] = column.value(row);
    // Paths and texts from old discs need not be UTF-8: unknown bytes are
    // replaced rather than refused.
    return object.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
  std::string line;
  bool first = true;
  for (const Column& column : columns()) {
    const char* separator = std::string(column.name) == "faces" ? ";" : " ";
    line += (first ? "" : ",") + csvField(csvText(column.value(row), separator));
    first = false;
  }
  return line;
}

}  // namespace vxa::tool
