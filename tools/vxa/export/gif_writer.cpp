#include "gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "changed_area.h"
#include "core/tables/color_table.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

// A GIF delay is a 16-bit count of hundredths of a second.
constexpr uint32_t kLongestDelay = 0xFFFF;

int appendBytes(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

void check(int result, GifFileType* gif, const char* what) {
  if (result != GIF_OK) fail(std::string("GIF encoder: ") + what + ": " + GifErrorString(gif->Error));
}

// Colour indices for pixels: exact for the table's colours, the nearest one
// for any other, remembered once found.
class IndexMap {
 public:
  IndexMap() {
    for (int i = static_cast<int>(ColorTable.size()) - 1; i >= 0; --i) known_[rgbForIndex(i)] = static_cast<uint8_t>(i);
  }
  uint8_t operator()(uint32_t rgb) {
    const auto found = known_.find(rgb);
    if (found != known_.end()) return found->second;
    return known_[rgb] = nearest(rgb);
  }

 private:
  static uint8_t nearest(uint32_t rgb) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < static_cast<int>(ColorTable.size()); ++i) {
      const uint32_t c = rgbForIndex(i);
      long distance = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const long d = static_cast<long>(rgb >> shift & 0xFF) - static_cast<long>(c >> shift & 0xFF);
        distance += d * d;
      }
      if (bestDistance < 0 || distance < bestDistance) bestDistance = distance, best = i;
    }
    return static_cast<uint8_t>(best);
  }
  std::unordered_map<uint32_t, uint8_t> known_;
};

}  // namespace

struct GifWriter::Encoder {
  std::vector<uint8_t> bytes;
  GifFileType* gif = nullptr;
  ColorMapObject* colors = nullptr;
  IndexMap indices;
  raster::Image previous;
  bool first = true;
  // Delays are rounded on the running total, so a long export keeps its time.
  uint64_t elapsedMs = 0;
  uint64_t elapsedCs = 0;

  ~Encoder() {
    if (gif) EGifCloseFile(gif, nullptr);
    GifFreeMapObject(colors);
  }

  void open(int width, int height) {
    std::vector<GifColorType> table(ColorTable.size());
    for (size_t i = 0; i < table.size(); ++i) {
      const uint32_t rgb = rgbForIndex(static_cast<int>(i));
      table[i] = {static_cast<GifByteType>(rgb >> 16), static_cast<GifByteType>(rgb >> 8),
                  static_cast<GifByteType>(rgb)};
    }
    colors = GifMakeMapObject(static_cast<int>(table.size()), table.data());
    int error = 0;
    gif = EGifOpen(&bytes, appendBytes, &error);
    if (!gif || !colors) fail(std::string("GIF encoder: ") + GifErrorString(error));
    EGifSetGifVersion(gif, true);
    check(EGifPutScreenDesc(gif, width, height, 8, 0, colors), gif, "screen");
  }

  void putControl(uint32_t delayCs) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = static_cast<int>(delayCs);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension), gif,
          "frame delay");
  }

  void putArea(const raster::Image& picture, const Area& area) {
    check(EGifPutImageDesc(gif, area.x, area.y, area.width, area.height, false, nullptr), gif, "frame");
    std::vector<GifPixelType> line(static_cast<size_t>(area.width));
    for (int y = area.y; y < area.y + area.height; ++y) {
      const uint32_t* row = picture.row(y) + area.x;
      std::transform(row, row + area.width, line.begin(), [this](uint32_t rgb) { return indices(rgb); });
      check(EGifPutLine(gif, line.data(), area.width), gif, "pixels");
    }
  }
};

GifWriter::GifWriter() : encoder_(std::make_unique<Encoder>()) {}

GifWriter::~GifWriter() = default;

void GifWriter::addFrame(const raster::Image& picture, uint32_t durationMs) {
  Encoder& e = *encoder_;
  if (e.first) e.open(picture.width, picture.height);
  e.elapsedMs += durationMs;
  const uint64_t untilCs = (e.elapsedMs + 5) / 10;
  uint64_t delayCs = untilCs - e.elapsedCs;
  e.elapsedCs = untilCs;

  Area area = e.first ? Area{0, 0, picture.width, picture.height} : changedArea(e.previous, picture);
  // Nothing changed: one unchanged pixel carries the delay.
  if (area.empty()) area = {0, 0, 1, 1};
  // A hold longer than a GIF delay goes on in frames of one unchanged pixel.
  e.putControl(static_cast<uint32_t>(std::min<uint64_t>(delayCs, kLongestDelay)));
  e.putArea(picture, area);
  for (delayCs -= std::min<uint64_t>(delayCs, kLongestDelay); delayCs > 0;
       delayCs -= std::min<uint64_t>(delayCs, kLongestDelay)) {
    e.putControl(static_cast<uint32_t>(std::min<uint64_t>(delayCs, kLongestDelay)));
    e.putArea(picture, {0, 0, 1, 1});
  }
  e.previous = picture;
  e.first = false;
}

std::vector<uint8_t> GifWriter::finish() {
  Encoder& e = *encoder_;
  if (!e.gif) fail("GIF encoder: no frame to write");
  int error = 0;
  GifFileType* gif = e.gif;
  e.gif = nullptr;
  if (EGifCloseFile(gif, &error) != GIF_OK) fail(std::string("GIF encoder: ") + GifErrorString(error));
  return std::move(e.bytes);
}

}  // namespace vxa::tool
