// vxa export, read back: every frame of the GIF and the APNG is the
// renderer's picture of the frame the plug-in shows at that time, held as
// long as the plug-in holds it; videos have their length and their sound;
// without ffmpeg the command says how to get it.
#include <gif_lib.h>
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include <cstdio>
#include <cstring>

#include "core/raster/frame_composer.h"
#include "core/raster/renderer.h"
#include "core/format/stream.h"
#include "vxa_runner.h"

namespace vxa {
namespace {

using namespace vxa::testing;

constexpr int kWidth = 40;
constexpr int kHeight = 24;
constexpr uint8_t kBackground = 6;  // colour byte: index 5

// Frames that each move a rectangle and an oval, so no two in a row look the same.
Stream movie(int16_t frames, uint8_t rate, bool loops = false, bool waits = false, int16_t sound = 0) {
  Stream stream;
  stream.header.width = kWidth;
  stream.header.height = kHeight;
  stream.header.background = kBackground;
  stream.header.frameRate = rate;
  stream.header.loop = loops;
  stream.header.wait = waits;
  stream.header.groupCount = 2;
  stream.header.frameCount = frames;
  Block groups;
  for (int8_t kind : {ObjectKind::Rect, ObjectKind::Oval}) {
    ObjectRecord o;
    o.kind = kind;
    o.right = o.bottom = 7;
    o.fill1 = o.fill2 = static_cast<uint8_t>(40 + kind);
    o.line1 = o.line2 = 200;
    o.lineWidth = 1;
    groups.groups.push_back(GroupRecord{static_cast<int16_t>(groups.groups.size() + 1), 0, 7, 7, {o}});
  }
  stream.blocks.push_back(groups);
  for (int16_t n = 1; n <= frames; ++n) {
    Block frame;
    frame.frame.number = n;
    frame.frame.soundNumber = n == 1 ? sound : 0;
    for (int16_t g : {1, 2}) {
      Item item;
      item.groupId = g;
      item.x = static_cast<int16_t>(g == 1 ? 3 * n : 30 - 2 * n);
      item.y = static_cast<int16_t>(g == 1 ? 2 : 12);
      frame.frame.items.push_back(item);
    }
    stream.blocks.push_back(frame);
  }
  return stream;
}

// Frame n of the movie as the renderer draws it.
raster::Image picture(const Stream& stream, int n) {
  static raster::FontLibrary noText;
  raster::GroupTable groups(stream.header.groupCount);
  for (const GroupRecord& g : stream.blocks[0].groups) groups.put(g);
  FrameRecord frame;
  for (const Item& item : stream.blocks[n].frame.items) frame.items.push_back({item.groupId, item.x, item.y});
  raster::Image image(stream.header.width, stream.header.height);
  raster::composeFrame(image, frame, raster::backgroundIndexOf(stream.header), groups, noText);
  return image;
}

// How many pixels differ (of pictures of one size), or -1 for different sizes.
long differingPixels(const raster::Image& a, const raster::Image& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  long count = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i];
  return count;
}

struct Animation {
  std::vector<raster::Image> frames;
  std::vector<uint32_t> delaysMs;
};

// Every frame as a viewer composes it: each image over the one before.
Animation readGif(const fs::path& path) {
  Animation result;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (!gif || DGifSlurp(gif) != GIF_OK) {
    ADD_FAILURE() << "giflib cannot read " << path;
    return result;
  }
  raster::Image canvas(gif->SWidth, gif->SHeight);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& d = image.ImageDesc;
    const ColorMapObject* colors = d.ColorMap ? d.ColorMap : gif->SColorMap;
    for (int y = 0; y < d.Height; ++y) {
      for (int x = 0; x < d.Width; ++x) {
        const GifColorType c = colors->Colors[image.RasterBits[y * d.Width + x]];
        canvas.row(d.Top + y)[d.Left + x] = static_cast<uint32_t>(c.Red) << 16 | c.Green << 8 | c.Blue;
      }
    }
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, i, &control);
    result.frames.push_back(canvas);
    result.delaysMs.push_back(static_cast<uint32_t>(control.DelayTime) * 10);
  }
  DGifCloseFile(gif, &error);
  return result;
}

uint32_t big32(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// The delays of the fcTL chunks, and the frames as ffmpeg's APNG decoder gives them.
Animation readApng(const fs::path& path, const fs::path& scratch) {
  Animation result;
  const Bytes file = readBytes(path);
  for (size_t at = 8; at + 12 <= file.size(); at += 12 + big32(&file[at])) {
    if (std::memcmp(&file[at + 4], "fcTL", 4) != 0) continue;
    const uint8_t* body = &file[at + 8];
    const uint32_t num = body[20] << 8 | body[21], den = body[22] << 8 | body[23];
    result.delaysMs.push_back(num * 1000 / (den ? den : 100));
  }
  const std::string command = "ffmpeg -v error -y -i " + path.string() +
                              " -fps_mode passthrough -f rawvideo -pix_fmt rgb24 " + scratch.string();
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  const Bytes rgb = readBytes(scratch);
  const size_t frameBytes = kWidth * kHeight * 3;
  for (size_t at = 0; at + frameBytes <= rgb.size(); at += frameBytes) {
    raster::Image image(kWidth, kHeight);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
      image.pixels[i] = static_cast<uint32_t>(rgb[at + 3 * i]) << 16 | rgb[at + 3 * i + 1] << 8 | rgb[at + 3 * i + 2];
    }
    result.frames.push_back(image);
  }
  return result;
}

// The first frame as a viewer that knows no animation shows it.
raster::Image firstFrame(const fs::path& path) {
  int w = 0, h = 0, channels = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &w, &h, &channels, 3);
  raster::Image image(w, h);
  for (size_t i = 0; pixels && i < image.pixels.size(); ++i) {
    image.pixels[i] = static_cast<uint32_t>(pixels[3 * i]) << 16 | pixels[3 * i + 1] << 8 | pixels[3 * i + 2];
  }
  stbi_image_free(pixels);
  return image;
}

TEST_F(VxaTool, ExportedAnimationsShowEachFrameForItsTime) {
  struct Case {
    const char* what;
    Stream stream;
    std::string options;
    std::vector<int> frames;  // the frames shown, in order
    std::vector<uint32_t> delaysMs;
  };
  const std::vector<uint32_t> tenth(8, 100);
  const Case cases[] = {
      {"rate 10", movie(8, 10), "", {1, 2, 3, 4, 5, 6, 7, 8}, tenth},
      // 83 ms pass on the fifth 20-ms timer message.
      {"rate 12", movie(3, 12), "", {1, 2, 3}, {100, 100, 100}},
      {"rate 0 shows a frame a second", movie(3, 0), "", {1, 2, 3}, {1000, 1000, 1000}},
      {"a loop twice more", movie(8, 10, true), "--loops 2",
       {1, 2, 3, 4, 5, 6, 7, 8, 6, 7, 8, 6, 7, 8}, std::vector<uint32_t>(14, 100)},
      {"a loop by default three times more", movie(7, 10, true), "",
       {1, 2, 3, 4, 5, 6, 7, 6, 7, 6, 7, 6, 7}, std::vector<uint32_t>(13, 100)},
      {"a hold for a click", movie(8, 10, false, true), "--hold 500",
       {1, 2, 3, 4, 5, 6, 7, 8}, {100, 100, 100, 100, 100, 500, 100, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeBytes(file("m.vxa"), encodeStream(c.stream));
    for (const char* name : {"out.gif", "out.png"}) {
      SCOPED_TRACE(name);
      const Result result = run("export " + file("m.vxa").string() + " -o " + file(name).string() + " " + c.options);
      ASSERT_EQ(result.status, 0) << result.err;
      EXPECT_EQ(result.err, "");  // no progress bar when stderr is no terminal
      const Animation got = std::string(name) == "out.gif" ? readGif(file(name)) : readApng(file(name), file("rgb"));
      EXPECT_EQ(got.delaysMs, c.delaysMs);
      ASSERT_EQ(got.frames.size(), c.frames.size());
      for (size_t i = 0; i < c.frames.size(); ++i) {
        EXPECT_EQ(differingPixels(got.frames[i], picture(c.stream, c.frames[i])), 0) << "frame " << i;
      }
      EXPECT_EQ(differingPixels(firstFrame(file(name)), picture(c.stream, 1)), 0);
    }
  }
}

// A mono 16-bit WAV of ms milliseconds of a tone.
Bytes wav(uint32_t ms) {
  const uint32_t rate = 11025, samples = rate * ms / 1000;
  Bytes out;
  auto put = [&out](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  auto tag = [&out](const char* t) { out.insert(out.end(), t, t + 4); };
  tag("RIFF"), put(36 + 2 * samples, 4), tag("WAVE"), tag("fmt "), put(16, 4), put(1, 2), put(1, 2);
  put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2), tag("data"), put(2 * samples, 4);
  for (uint32_t i = 0; i < samples; ++i) put(static_cast<uint16_t>(i % 25 < 12 ? 8000 : -8000), 2);
  return out;
}

std::string probe(const fs::path& path) {
  const std::string command = "ffprobe -v error -show_entries stream=codec_type:format=duration -of csv=p=0 " +
                              path.string() + " 2>&1";
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  for (char buffer[256]; pipe && fgets(buffer, sizeof buffer, pipe);) out += buffer;
  if (pipe) pclose(pipe);
  return out;
}

TEST_F(VxaTool, VideosCarryTheMovieTimeAndItsSounds) {
  // Eight frames a tenth of a second each, sound 1 on the first.
  writeBytes(file("m.vxa"), encodeStream(movie(8, 10, false, false, 1)));
  fs::create_directories(file("sounds"));
  writeBytes(file("sounds/1.WAV"), wav(300));
  fs::create_directories(file("beside/VXA_WAV"));
  writeBytes(file("beside/m.vxa"), readBytes(file("m.vxa")));
  writeBytes(file("beside/VXA_WAV/1.wav"), wav(300));
  fs::create_directories(file("nosound"));
  fs::create_directories(file("empty"));
  struct Case {
    const char* what;
    std::string movie, output, options;
    std::string streams;  // codec types, one a line
    std::string note;     // on stderr
  };
  const Case cases[] = {
      {"webm, sounds given", "m.vxa", "a.webm", "--sounds " + file("sounds").string(), "video\naudio\n", ""},
      {"mp4, sounds beside the movie", "beside/m.vxa", "b.mp4", "", "video\naudio\n", ""},
      {"no sound folder", "m.vxa", "c.mp4", "", "video\n", "the movie names sounds, but there is no VXA_WAV"},
      {"a sound without its file", "m.vxa", "d.webm", "--sounds " + file("empty").string(), "video\n",
       "sound 1 has no file in"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Result result = run("export " + file(c.movie).string() + " -o " + file(c.output).string() + " " + c.options);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find(c.note), std::string::npos) << result.err;
    const std::string probed = probe(file(c.output));
    const size_t last = probed.rfind('\n', probed.size() - 2);
    EXPECT_EQ(probed.substr(0, last + 1), c.streams) << probed;
    EXPECT_NEAR(std::stod(probed.substr(last + 1)), 0.8, 0.05) << probed;
  }

  const Result missing = run("export " + file("m.vxa").string() + " -o " + file("e.webm").string(), "PATH=/nowhere");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "vxa: video export needs ffmpeg, which is not installed; install it with: sudo apt-get install ffmpeg\n");
  EXPECT_FALSE(fs::exists(file("e.webm")));
}

}  // namespace
}  // namespace vxa
