#include "apng_writer.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>

#include "changed_area.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// fcTL: leave the frame as it is under the next one, which replaces its area.
constexpr uint8_t kDisposeNone = 0;
constexpr uint8_t kBlendSource = 0;

void put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}
void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}
uint32_t get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  put32(out, static_cast<uint32_t>(body.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// libpng reports a failure by a long jump back into the encoding function;
// the message is kept for the Failure thrown there.
void pngError(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}

// Rows of 8-bit RGB, as libpng takes them.
std::vector<uint8_t> rgbRows(const raster::Image& picture, const Area& area) {
  std::vector<uint8_t> rows(static_cast<size_t>(area.width) * area.height * 3);
  for (int y = 0; y < area.height; ++y) {
    const uint32_t* source = picture.row(area.y + y) + area.x;
    uint8_t* target = rows.data() + static_cast<size_t>(y) * area.width * 3;
    for (int x = 0; x < area.width; ++x) {
      target[3 * x] = static_cast<uint8_t>(source[x] >> 16);
      target[3 * x + 1] = static_cast<uint8_t>(source[x] >> 8);
      target[3 * x + 2] = static_cast<uint8_t>(source[x]);
    }
  }
  return rows;
}

// A PNG of one area of the picture, made by libpng. Everything with a
// destructor is made before the long jump's target.
std::vector<uint8_t> encodeArea(const raster::Image& picture, const Area& area) {
  std::vector<uint8_t> file;
  std::string error;
  const std::vector<uint8_t> rows = rgbRows(picture, area);
  std::vector<png_bytep> rowPointers(static_cast<size_t>(area.height));
  for (int y = 0; y < area.height; ++y) {
    rowPointers[y] = const_cast<png_bytep>(rows.data()) + static_cast<size_t>(y) * area.width * 3;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, pngError, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool written = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(png, &file, appendBytes, nullptr);
    png_set_IHDR(png, info, area.width, area.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rowPointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    written = true;
  }
  png_destroy_write_struct(&png, &info);
  if (!written) fail("PNG encoder: " + (error.empty() ? std::string("out of memory") : error));
  return file;
}

// The image data of a PNG: its IDAT chunks joined.
std::vector<uint8_t> imageData(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> data;
  for (size_t at = sizeof kSignature; at + 12 <= file.size();) {
    const uint32_t length = get32(&file[at]);
    if (std::memcmp(&file[at + 4], "IDAT", 4) == 0) {
      data.insert(data.end(), file.begin() + at + 8, file.begin() + at + 8 + length);
    }
    at += 12 + length;
  }
  return data;
}

}  // namespace

void ApngWriter::addFrame(const raster::Image& picture, uint32_t durationMs) {
  Area area = frames_.empty() ? Area{0, 0, picture.width, picture.height} : changedArea(previous_, picture);
  // Nothing changed: one unchanged pixel carries the time.
  if (area.empty()) area = {0, 0, 1, 1};
  frames_.push_back({static_cast<uint32_t>(area.x), static_cast<uint32_t>(area.y),
                     static_cast<uint32_t>(area.width), static_cast<uint32_t>(area.height), durationMs,
                     imageData(encodeArea(picture, area))});
  previous_ = picture;
}

std::vector<uint8_t> ApngWriter::finish() {
  if (frames_.empty()) fail("PNG encoder: no frame to write");
  std::vector<uint8_t> out(kSignature, kSignature + sizeof kSignature);
  std::vector<uint8_t> body;
  put32(body, static_cast<uint32_t>(previous_.width));
  put32(body, static_cast<uint32_t>(previous_.height));
  body.insert(body.end(), {8, PNG_COLOR_TYPE_RGB, 0, 0, 0});
  putChunk(out, "IHDR", body);

  body.clear();
  put32(body, static_cast<uint32_t>(frames_.size()));
  put32(body, 1);  // plays once
  putChunk(out, "acTL", body);

  uint32_t sequence = 0;
  for (size_t i = 0; i < frames_.size(); ++i) {
    const Frame& frame = frames_[i];
    body.clear();
    put32(body, sequence++);
    put32(body, frame.width);
    put32(body, frame.height);
    put32(body, frame.x);
    put32(body, frame.y);
    // The delay is a fraction of a second in 16 bits each: ms over 1000, or
    // for holds longer than 65 s, hundredths over 100.
    const bool inMs = frame.durationMs <= 0xFFFF;
    put16(body, inMs ? frame.durationMs : std::min<uint32_t>((frame.durationMs + 5) / 10, 0xFFFF));
    put16(body, inMs ? 1000 : 100);
    body.push_back(kDisposeNone);
    body.push_back(kBlendSource);
    putChunk(out, "fcTL", body);
    if (i == 0) {
      putChunk(out, "IDAT", frame.data);
    } else {
      body.clear();
      put32(body, sequence++);
      body.insert(body.end(), frame.data.begin(), frame.data.end());
      putChunk(out, "fdAT", body);
    }
  }
  putChunk(out, "IEND", {});
  return out;
}

}  // namespace vxa::tool
