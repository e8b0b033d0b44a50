#include "web/wasm/code_warm_up.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/format/stream.h"
#include "web/wasm/page_fonts.h"
#include "web/wasm/web_movie.h"

namespace web {
namespace {

// LiberationSans-Regular.0.fontpart as the build cut it.
const uint8_t kSansFirstPart[] = {
#include "warm_up_font.inc"
};

vxa::ObjectRecord shape(int8_t kind, uint8_t left, uint8_t top, uint8_t right, uint8_t bottom) {
  vxa::ObjectRecord object;
  object.kind = kind;
  object.left = left, object.top = top, object.right = right, object.bottom = bottom;
  object.fill1 = 13, object.fill2 = 200, object.line1 = 5, object.line2 = 90;
  object.fillPattern = 12, object.linePattern = 40, object.lineWidth = 3;
  return object;
}

// One frame with a shape of every kind, patterned and outlined, and text in
// the face whose first part is built in, of characters that part holds.
std::vector<uint8_t> builtInMovie() {
  vxa::Stream stream;
  stream.header.width = 96;
  stream.header.height = 64;
  stream.header.background = 78;
  stream.header.frameRate = 12;
  stream.header.groupCount = 1;
  stream.header.frameCount = 1;

  vxa::GroupRecord group;
  group.id = 1;
  group.widthMinus1 = 95;
  group.heightMinus1 = 63;
  group.objects.push_back(shape(vxa::ObjectKind::Rect, 0, 0, 95, 63));
  vxa::ObjectRecord polygon = shape(vxa::ObjectKind::Polygon, 0, 0, 0, 0);
  polygon.points = {{4, 4}, {60, 10}, {30, 50}, {70, 40}};
  group.objects.push_back(polygon);
  group.objects.push_back(shape(vxa::ObjectKind::Line, 2, 60, 90, 30));
  group.objects.push_back(shape(vxa::ObjectKind::Oval, 10, 10, 50, 40));
  vxa::ObjectRecord rounded = shape(vxa::ObjectKind::RoundRect, 40, 20, 90, 60);
  rounded.cornerWidth = rounded.cornerHeight = 12;
  group.objects.push_back(rounded);
  vxa::ObjectRecord arc = shape(vxa::ObjectKind::Arc, 20, 5, 80, 55);
  arc.startAngle = 30, arc.sweep = 200;
  group.objects.push_back(arc);
  vxa::ObjectRecord text = shape(vxa::ObjectKind::Text, 2, 2, 94, 62);
  text.fillPattern = text.linePattern = 255;
  text.textColor = 219, text.size = 12, text.justification = 1;
  text.fontName = "Arial";
  text.text = "code is run here once, so a cold instance reaches its start no later.";
  group.objects.push_back(text);

  vxa::Block block;
  block.frame.number = 1;
  vxa::Item item;
  item.groupId = 1;
  block.frame.items.push_back(item);
  block.groups.push_back(std::move(group));
  stream.blocks.push_back(std::move(block));
  return vxa::encodeStream(stream);
}

}  // namespace

bool warmUpCode() {
  pageFonts().provide("LiberationSans-Regular.0.fontpart",
                      std::vector<uint8_t>(kSansFirstPart, kSansFirstPart + sizeof kSansFirstPart));
  const std::vector<uint8_t> bytes = builtInMovie();
  WebMovie movie(false);
  std::memcpy(movie.chunkBuffer(bytes.size()), bytes.data(), bytes.size());
  uint32_t now = 1;
  movie.takeChunk(bytes.size(), now);
  movie.endOfStream(now);
  // The timer's first messages show frame 1.
  for (int tick = 0; tick < 16 && movie.currentFrame() < 1; ++tick) movie.tick(now += WebMovie::timerPeriod());
  return movie.currentFrame() == 1;
}

}  // namespace web
