#include "source_writer.h"

#include "byte_text.h"
#include "object_kinds.h"

namespace vxa::tool {
namespace {

// The colour-table index that a stored colour byte stands for.
int colourIndex(uint8_t stored) { return (stored + 255) & 0xFF; }

template <typename T>
void putUnlessZero(Json& json, const char* key, T value) {
  if (value != 0) json[key] = value;
}

void putColour(Json& json, const char* key, uint8_t stored) {
  putUnlessZero(json, key, colourIndex(stored));
}

void putFlag(Json& json, const char* key, int8_t value) {
  if (value == 1) {
    json[key] = true;
  } else {
    putUnlessZero(json, key, static_cast<int>(value));
  }
}

void putString(Json& json, const char* key, const std::string& bytes) {
  if (!bytes.empty()) json[key] = bytesToText(bytes);
}

Json header(const Header& h) {
  Json json = Json::object();
  if (h.layout == Layout::Narrow) {
    json["layout"] = "narrow";
  } else {
    if (h.version != kFirstWideVersion) json["version"] = h.version;
    putFlag(json, "loop", h.loop);
    putFlag(json, "waitForClick", h.wait);
    putUnlessZero(json, "reserved4", h.reserved4);
    putUnlessZero(json, "reserved5", h.reserved5);
    putUnlessZero(json, "reserved6", h.reserved6);
    putUnlessZero(json, "reserved8", h.reserved8);
  }
  json["width"] = h.width;
  json["height"] = h.height;
  putColour(json, "background", h.background);
  json["frameRate"] = h.frameRate;
  json["groupCount"] = h.groupCount;
  json["frameCount"] = h.frameCount;
  return json;
}

Json item(const Item& i) {
  if (i.presence == 0) return "repeat";
  Json json = Json::object();
  if (i.presence != 1) json["presence"] = i.presence;
  putUnlessZero(json, "flag", i.flag);
  json["group"] = i.groupId;
  json["x"] = i.x;
  json["y"] = i.y;
  putUnlessZero(json, "mode", i.mode);
  putUnlessZero(json, "extra", i.extra);
  return json;
}

Json frame(const FramePart& f) {
  Json json = Json::object();
  json["number"] = f.number;
  if (f.number == 0) {
    json["filler"] = f.filler;
    return json;
  }
  putUnlessZero(json, "sound", f.soundNumber);
  putUnlessZero(json, "flag", f.flag);
  if (!f.items.empty()) {
    Json items = Json::array();
    for (const Item& i : f.items) items.push_back(item(i));
    json["items"] = std::move(items);
  }
  return json;
}

Json object(const ObjectRecord& o) {
  Json json = Json::object();
  if (const auto name = nameOfKind(o.kind)) {
    json["kind"] = *name;
  } else {
    json["kind"] = o.kind;
  }
  putUnlessZero(json, "left", o.left);
  putUnlessZero(json, "top", o.top);
  putUnlessZero(json, "right", o.right);
  putUnlessZero(json, "bottom", o.bottom);
  putColour(json, "fillColor1", o.fill1);
  putColour(json, "fillColor2", o.fill2);
  putColour(json, "lineColor1", o.line1);
  putColour(json, "lineColor2", o.line2);
  putUnlessZero(json, "fillPattern", o.fillPattern);
  putUnlessZero(json, "linePattern", o.linePattern);
  putUnlessZero(json, "lineWidth", o.lineWidth);
  putUnlessZero(json, "reserved", o.reserved);
  switch (o.kind) {
    case ObjectKind::Polygon:
      if (!o.points.empty()) {
        Json points = Json::array();
        for (const auto& point : o.points) points.push_back({point.first, point.second});
        json["points"] = std::move(points);
      }
      break;
    case ObjectKind::RoundRect:
      putUnlessZero(json, "cornerWidth", o.cornerWidth);
      putUnlessZero(json, "cornerHeight", o.cornerHeight);
      break;
    case ObjectKind::Arc:
      putUnlessZero(json, "startAngle", o.startAngle);
      putUnlessZero(json, "sweep", o.sweep);
      break;
    case ObjectKind::Text:
      putColour(json, "textColor", o.textColor);
      putUnlessZero(json, "style", o.style);
      putUnlessZero(json, "size", o.size);
      putUnlessZero(json, "justification", o.justification);
      putString(json, "font", o.fontName);
      putString(json, "text", o.text);
      break;
    case ObjectKind::Comment:
      putString(json, "comment", o.skipped);
      break;
    default:
      break;
  }
  return json;
}

Json group(const GroupRecord& g) {
  Json json = Json::object();
  json["id"] = g.id;
  putColour(json, "color", g.color);
  json["width"] = g.widthMinus1 + 1;
  json["height"] = g.heightMinus1 + 1;
  if (!g.objects.empty()) {
    Json objects = Json::array();
    for (const ObjectRecord& o : g.objects) objects.push_back(object(o));
    json["objects"] = std::move(objects);
  }
  return json;
}

Json block(const Block& b) {
  Json json = Json::object();
  if (b.frame.number != 0 || b.frame.filler != 0) json["frame"] = frame(b.frame);
  if (!b.groups.empty()) {
    Json groups = Json::array();
    for (const GroupRecord& g : b.groups) groups.push_back(group(g));
    json["groups"] = std::move(groups);
  }
  if (b.negativeGroupCount != 0) json["negativeGroupCount"] = b.negativeGroupCount;
  return json;
}

}  // namespace

Json writeSource(const StreamPieces& stream) {
  Json json = Json::object();
  json["header"] = header(stream.header);
  Json blocks = Json::array();
  for (const StreamPiece& piece : stream.pieces) {
    if (piece.decoded()) {
      blocks.push_back(block(piece.block));
    } else {
      Json raw = Json::object();
      raw["note"] = "at byte " + std::to_string(piece.damageOffset) + ": " + piece.damage;
      raw["bytes"] = bytesToHex(piece.raw);
      blocks.push_back(std::move(raw));
    }
  }
  json["blocks"] = std::move(blocks);
  return json;
}

}  // namespace vxa::tool
