#include "source_reader.h"

#include <limits>

#include "byte_text.h"
#include "object_kinds.h"
#include "source_error.h"

namespace vxa::tool {
namespace {

constexpr int64_t kMin16 = std::numeric_limits<int16_t>::min();
constexpr int64_t kMax16 = std::numeric_limits<int16_t>::max();

int16_t int16(Fields& fields, const char* key, int16_t fallback = 0) {
  return static_cast<int16_t>(fields.integer(key, kMin16, kMax16, fallback));
}
int16_t requiredInt16(Fields& fields, const char* key) {
  return static_cast<int16_t>(fields.requiredInteger(key, kMin16, kMax16));
}
uint8_t byte(Fields& fields, const char* key, uint8_t fallback = 0) {
  return static_cast<uint8_t>(fields.integer(key, 0, 255, fallback));
}

const char* const kWideOnly[] = {"version", "loop", "waitForClick", "reserved4",
                                 "reserved5", "reserved6", "reserved8"};

class SourceReader {
 public:
  StreamPieces read(const Json& source) {
    Fields top(source, "");
    StreamPieces stream;
    stream.header = readHeader(top.required("header"));
    wide_ = stream.header.layout == Layout::Wide;
    if (const Json* blocks = top.array("blocks", std::numeric_limits<size_t>::max())) {
      for (size_t i = 0; i < blocks->size(); ++i) {
        stream.pieces.push_back(readPiece((*blocks)[i], elementPath("blocks", i)));
      }
    }
    top.finish("a source");
    return stream;
  }

 private:
  size_t countLimit() const { return wide_ ? vxa::kWideCountLimit : vxa::kNarrowCountLimit; }

  Header readHeader(const Json& value) {
    Fields fields(value, "header");
    Header header;
    const Json* layout = fields.value("layout");
    if (layout != nullptr && *layout != "wide" && *layout != "narrow") {
      sourceError(fields.pathOf("layout"), "expected \"wide\" or \"narrow\"");
    }
    if (layout != nullptr && *layout == "narrow") {
      header.layout = Layout::Narrow;
      header.version = 0;
      for (const char* key : kWideOnly) fields.forbid(key, "only the wide layout has this field");
      header.width = requiredInt16(fields, "width");
      if (header.width >= kFirstWideVersion) {
        sourceError(fields.pathOf("width"),
                    "a narrow width must be below 10000, or it reads as a version");
      }
    } else {
      header.layout = Layout::Wide;
      header.version = static_cast<int16_t>(fields.integer("version", kFirstWideVersion, kMax16,
                                                          kFirstWideVersion));
      header.loop = fields.flag("loop");
      header.wait = fields.flag("waitForClick");
      header.reserved4 = byte(fields, "reserved4");
      header.reserved5 = byte(fields, "reserved5");
      header.reserved6 = int16(fields, "reserved6");
      header.reserved8 = int16(fields, "reserved8");
      header.width = requiredInt16(fields, "width");
    }
    header.height = requiredInt16(fields, "height");
    header.background = fields.colour("background");
    header.frameRate = static_cast<uint8_t>(fields.requiredInteger("frameRate", 0, 255));
    header.groupCount = requiredInt16(fields, "groupCount");
    header.frameCount = requiredInt16(fields, "frameCount");
    fields.finish("the header");
    return header;
  }

  // A block, or the raw bytes of one the stream holds as they stand.
  StreamPiece readPiece(const Json& value, const std::string& path) {
    StreamPiece piece;
    if (value.is_object() && value.contains("bytes")) {
      Fields fields(value, path);
      piece.kind = StreamPiece::Kind::Undecodable;
      piece.raw = hexToBytes(fields.text("bytes"), fields.pathOf("bytes"));
      fields.text("note");  // what the dump found wrong; not stored
      fields.finish("raw bytes");
      return piece;
    }
    piece.block = readBlock(value, path);
    return piece;
  }

  Block readBlock(const Json& value, const std::string& path) {
    Fields fields(value, path);
    Block block;
    if (const Json* frame = fields.value("frame")) {
      block.frame = readFrame(*frame, fields.pathOf("frame"));
    }
    if (const Json* groups = fields.array("groups", countLimit())) {
      for (size_t g = 0; g < groups->size(); ++g) {
        block.groups.push_back(readGroup((*groups)[g], elementPath(fields.pathOf("groups"), g)));
      }
    }
    if (!wide_) {
      fields.forbid("negativeGroupCount", "only the wide layout has this field");
    } else if (fields.has("negativeGroupCount")) {
      if (!block.groups.empty()) {
        sourceError(fields.pathOf("negativeGroupCount"), "stands for no group records: drop \"groups\"");
      }
      block.negativeGroupCount =
          static_cast<int16_t>(fields.requiredInteger("negativeGroupCount", INT16_MIN, -1));
    }
    fields.finish("a block");
    return block;
  }

  FramePart readFrame(const Json& value, const std::string& path) {
    Fields fields(value, path);
    FramePart frame;
    frame.number = requiredInt16(fields, "number");
    if (frame.number == 0) {
      frame.filler = byte(fields, "filler");
      for (const char* key : {"items", "sound", "flag"}) {
        fields.forbid(key, "frame 0 stores only a filler byte");
      }
      fields.finish("frame 0");
      return frame;
    }
    fields.forbid("filler", "only frame 0 has a filler byte");
    if (wide_) {
      frame.soundNumber = int16(fields, "sound");
      frame.flag = byte(fields, "flag");
    } else {
      fields.forbid("sound", "only the wide layout has this field");
      fields.forbid("flag", "only the wide layout has this field");
    }
    if (const Json* items = fields.array("items", 255)) {
      for (size_t i = 0; i < items->size(); ++i) {
        frame.items.push_back(readItem((*items)[i], elementPath(fields.pathOf("items"), i)));
      }
    }
    fields.finish("a frame");
    return frame;
  }

  Item readItem(const Json& value, const std::string& path) {
    if (value.is_string()) {
      if (value != "repeat") sourceError(path, "expected \"repeat\" or an object");
      return Item{0, 0, 0, 0, 0, 0, 0};
    }
    Fields fields(value, path);
    Item item;
    item.presence = static_cast<uint8_t>(fields.integer("presence", 1, 255, 1));
    item.flag = byte(fields, "flag");
    item.groupId = requiredInt16(fields, "group");
    item.x = requiredInt16(fields, "x");
    item.y = requiredInt16(fields, "y");
    item.mode = byte(fields, "mode");
    if (wide_) {
      item.extra = int16(fields, "extra");
    } else {
      fields.forbid("extra", "only the wide layout has this field");
    }
    fields.finish("an item");
    return item;
  }

  GroupRecord readGroup(const Json& value, const std::string& path) {
    Fields fields(value, path);
    GroupRecord group;
    group.id = requiredInt16(fields, "id");
    group.color = fields.colour("color");
    group.widthMinus1 = static_cast<uint8_t>(fields.requiredInteger("width", 1, 256) - 1);
    group.heightMinus1 = static_cast<uint8_t>(fields.requiredInteger("height", 1, 256) - 1);
    if (const Json* objects = fields.array("objects", countLimit())) {
      for (size_t j = 0; j < objects->size(); ++j) {
        group.objects.push_back(readObject((*objects)[j], elementPath(fields.pathOf("objects"), j)));
      }
    }
    fields.finish("a group");
    return group;
  }

  static int8_t readKind(Fields& fields) {
    const Json& kind = fields.required("kind");
    if (kind.is_string()) {
      if (const auto named = kindFromName(kind.get<std::string>())) return *named;
      sourceError(fields.pathOf("kind"), "unknown kind name; expected one of " + kindNameList() +
                                             ", or a number in -128..127");
    }
    return static_cast<int8_t>(checkedInteger(kind, fields.pathOf("kind"), -128, 127));
  }

  ObjectRecord readObject(const Json& value, const std::string& path) {
    Fields fields(value, path);
    ObjectRecord object;
    object.kind = readKind(fields);
    object.left = byte(fields, "left");
    object.top = byte(fields, "top");
    object.right = byte(fields, "right");
    object.bottom = byte(fields, "bottom");
    object.fill1 = fields.colour("fillColor1");
    object.fill2 = fields.colour("fillColor2");
    object.line1 = fields.colour("lineColor1");
    object.line2 = fields.colour("lineColor2");
    object.fillPattern = byte(fields, "fillPattern");
    object.linePattern = byte(fields, "linePattern");
    object.lineWidth = byte(fields, "lineWidth");
    object.reserved = byte(fields, "reserved");
    switch (object.kind) {
      case ObjectKind::Polygon:
        if (const Json* points = fields.array("points", 32767)) {
          for (size_t p = 0; p < points->size(); ++p) {
            object.points.push_back(readPoint((*points)[p], elementPath(fields.pathOf("points"), p)));
          }
        }
        break;
      case ObjectKind::RoundRect:
        object.cornerWidth = byte(fields, "cornerWidth");
        object.cornerHeight = byte(fields, "cornerHeight");
        break;
      case ObjectKind::Arc:
        object.startAngle = int16(fields, "startAngle");
        object.sweep = int16(fields, "sweep");
        break;
      case ObjectKind::Text:
        object.textColor = fields.colour("textColor");
        object.style = byte(fields, "style");
        object.size = byte(fields, "size");
        object.justification = static_cast<int8_t>(fields.integer("justification", -128, 127, 0));
        object.fontName = fields.bytes("font");
        object.text = fields.bytes("text");
        break;
      case ObjectKind::Comment:
        object.skipped = fields.bytes("comment");
        break;
      default:
        break;
    }
    const auto name = nameOfKind(object.kind);
    if (!name) {
      fields.finish("an object of kind " + std::to_string(object.kind));
    } else {
      const bool vowel = std::string("aeiou").find((*name)[0]) != std::string::npos;
      fields.finish((vowel ? "an " : "a ") + *name + " object");
    }
    return object;
  }

  static std::pair<uint8_t, uint8_t> readPoint(const Json& value, const std::string& path) {
    if (!value.is_array() || value.size() != 2) sourceError(path, "expected a point [x, y]");
    return {static_cast<uint8_t>(checkedInteger(value[0], elementPath(path, 0), 0, 255)),
            static_cast<uint8_t>(checkedInteger(value[1], elementPath(path, 1), 0, 255))};
  }

  bool wide_ = true;
};

}  // namespace

StreamPieces readSource(const Json& source) { return SourceReader().read(source); }

}  // namespace vxa::tool
