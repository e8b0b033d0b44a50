// vxa check, info, timeline and render on valid and damaged streams: every
// finding with its place and what the plug-in does, the figures info gives,
// the frame times the timeline prints and the pictures render draws.
#include <gtest/gtest.h>
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include "core/format/block_encoder.h"
#include "core/format/stream.h"
#include "vxa_runner.h"

namespace vxa {
namespace {

using namespace vxa::testing;

Item place(int16_t group, int16_t x = 0, int16_t y = 0) {
  Item item;
  item.groupId = group;
  item.x = x;
  item.y = y;
  return item;
}

Block frame(int16_t number, std::vector<Item> items, int16_t sound = 0) {
  Block block;
  block.frame.number = number;
  block.frame.items = std::move(items);
  block.frame.soundNumber = sound;
  return block;
}

ObjectRecord object(int8_t kind) {
  ObjectRecord o;
  o.kind = kind;
  o.right = 7;
  o.bottom = 7;
  o.fill1 = o.fill2 = 1;
  o.lineWidth = 1;
  return o;
}

Block groups(std::vector<int16_t> ids, std::vector<ObjectRecord> objects = {object(ObjectKind::Rect)}) {
  Block block;
  for (int16_t id : ids) block.groups.push_back(GroupRecord{id, 0, 7, 7, objects});
  return block;
}

// A movie of `frames` frames each placing group 1, and group 1.
Stream movie(int16_t frames = 8, uint8_t rate = 10) {
  Stream stream;
  stream.header.width = 64;
  stream.header.height = 32;
  stream.header.frameRate = rate;
  stream.header.groupCount = 3;
  stream.header.frameCount = frames;
  stream.blocks.push_back(groups({1}));
  for (int16_t n = 1; n <= frames; ++n) stream.blocks.push_back(frame(n, {place(1, n, 0)}));
  return stream;
}

// The offset of each block's length field.
std::vector<size_t> starts(const Stream& stream) {
  std::vector<size_t> result = {20};
  for (const Block& block : stream.blocks) {
    Bytes bytes;
    encodeBlock(block, stream.header.layout, bytes);
    result.push_back(result.back() + bytes.size());
  }
  return result;
}

TEST_F(VxaTool, CheckFindsWhatThePlugInWouldNotShowAsAuthored) {
  struct Case {
    const char* what;
    Bytes bytes;
    std::string findings;  // at "@N", the offset of block N
  };
  Stream headerFaults = movie(0, 0);
  headerFaults.header.width = 0;
  headerFaults.header.groupCount = -1;
  headerFaults.blocks.clear();

  Stream huge = movie(2);
  huge.header.width = 4097;
  huge.header.height = 4096;

  Stream outside = movie(3);
  outside.blocks.insert(outside.blocks.begin() + 1,
                        {frame(4, {}), frame(2, {place(4)}), groups({0}), frame(3, {place(1), place(2)})});
  outside.blocks.resize(6);  // frame 3 places group 2, which never comes

  Stream repeats = movie(3);
  repeats.blocks[3].frame.items.push_back(Item{0, 0, 0, 0, 0, 0, 0});

  Stream kinds = movie(2);
  ObjectRecord text = object(ObjectKind::Text);
  text.fontName = "Chicago";
  ObjectRecord known = text;
  known.fontName = "Times";
  kinds.blocks[0] = groups({1}, {object(42), text, text, known, object(-1), object(ObjectKind::Comment)});

  // 30 wide-pen circles of 8297 units each: the 25th would pass the bound.
  Stream heavy = movie(2);
  ObjectRecord circle = object(ObjectKind::Oval);
  circle.right = circle.bottom = 255;
  circle.lineWidth = 2;
  circle.fillPattern = 255;
  heavy.blocks[0] = groups({1}, std::vector<ObjectRecord>(30, circle));

  Stream stalls = movie(6);
  stalls.blocks.erase(stalls.blocks.begin() + 4);  // frame 4

  const Stream whole = movie(4);
  const Bytes bytes = encodeStream(whole);
  const std::vector<size_t> at = starts(whole);
  Bytes cut(bytes.begin(), bytes.end() - 3);
  Bytes unreadable = bytes;
  unreadable[at[3]] = 0x80;
  Bytes undecodable = bytes;
  undecodable[at[2] + 4] = 2;  // frame 2 claims two items

  const Case cases[] = {
      {"a sound movie", encodeStream(movie()), ""},
      {"header faults", encodeStream(headerFaults),
       "header at byte 10: the movie is 0 x 32 pixels: the plug-in shows no picture\n"
       "header at byte 15: frame rate 0 is no rate: the plug-in shows one frame a second\n"
       "header at byte 16: group count -1: the group table is empty and no group enters it\n"
       "header at byte 18: frame count 0: the plug-in has no frame to show\n"},
      {"a picture too large", encodeStream(huge),
       "header at byte 10: the movie is 4097 x 4096 pixels, more than the 16777216 a player shows: the plug-in "
       "shows none of it and says there is not enough memory\n"},
      {"numbers outside the tables", encodeStream(outside),
       "block 1 at byte @1: frame number 4 is outside 1..3: the plug-in leaves the block out\n"
       "block 2 at byte @2: item 0 of frame 2 names group 4, outside 1..3: the plug-in leaves the block out\n"
       "block 3 at byte @3: group record 0 has id 0, outside 1..3: the plug-in leaves the block out\n"
       "end of the stream at byte @6: frame 2 never arrives\n"
       "end of the stream at byte @6: group 2 never arrives, and frame 3 places it\n"
       "end of the stream at byte @6: playback stalls at frame 1: frame 2 never shows\n"},
      {"a repeat with nothing to copy", encodeStream(repeats),
       "block 3 at byte @3: item 1 of frame 3 repeats the item at its place in frame 2, which has none: "
       "the plug-in draws nothing for it\n"},
      {"unknown kinds and fonts", encodeStream(kinds),
       "block 0 at byte 20: object 0 of group 1 has kind 42, which no object has: the plug-in draws nothing for it\n"
       "block 0 at byte 20: group 1 names the font \"Chicago\", which the plug-in does not know: it draws those "
       "texts in System\n"
       "block 0 at byte 20: object 4 of group 1 has kind -1, which no object has: the plug-in draws nothing for it\n"},
      {"frames over the drawing bound", encodeStream(heavy),
       "block 1 at byte @1: frame 1 asks for 248910 units of drawing, over the 200000 a frame may have: the "
       "plug-in stops drawing it before object 24 of group 1 (item 0) and says once that part of the animation "
       "can't be shown\n"
       "block 2 at byte @2: frame 2 asks for 248910 units of drawing, over the 200000 a frame may have: the "
       "plug-in stops drawing it before object 24 of group 1 (item 0) and says once that part of the animation "
       "can't be shown\n"},
      {"a frame that never comes", encodeStream(stalls),
       "end of the stream at byte @6: frame 4 never arrives\n"
       "end of the stream at byte @6: playback stalls at frame 3: frame 4 never shows\n"},
      {"an unfinished tail", cut,
       "block 4 at byte @4: the stream ends inside the block (16 of 19 body bytes present): the plug-in keeps these "
       "18 bytes and waits for the rest, which never comes\n"
       "end of the stream at byte " + std::to_string(cut.size()) + ": frame 4 never arrives\n"
       "end of the stream at byte " + std::to_string(cut.size()) + ": playback stalls at frame 3: frame 4 never shows\n"},
      {"a length of 0x8000 or more", unreadable,
       "block 3 at byte @3: block length 0x8013 is 32768 or more: the plug-in never completes the block and reads "
       "none of the 42 bytes from here on\n"
       "end of the stream at byte @5: frames 3 and 4 never arrive\n"
       "end of the stream at byte @5: playback stalls at frame 2: frame 3 never shows\n"},
      {"a body that does not decode", undecodable,
       "block 2 at byte @2: group record count runs past the end of the block (at byte 88): the plug-in leaves "
       "the block out\n"
       "end of the stream at byte @5: frame 2 never arrives\n"
       "end of the stream at byte @5: playback stalls at frame 1: frame 2 never shows\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeBytes(file("m.vxa"), c.bytes);
    std::string expected = c.findings;
    const Stream* offsets = c.what == std::string("numbers outside the tables") ? &outside
                            : c.what == std::string("a repeat with nothing to copy") ? &repeats
                            : c.what == std::string("a frame that never comes")      ? &stalls
                            : c.what == std::string("frames over the drawing bound") ? &heavy
                                                                                     : &whole;
    const std::vector<size_t> blockAt = starts(*offsets);
    for (size_t marker = expected.find('@'); marker != std::string::npos; marker = expected.find('@')) {
      const size_t index = static_cast<size_t>(expected[marker + 1] - '0');
      expected.replace(marker, 2, std::to_string(blockAt[index]));
    }
    const Result result = run("check " + file("m.vxa").string());
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.status, expected.empty() ? 0 : 1);
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(VxaTool, CheckWithSoundsNamesTheFilesThatAreMissing) {
  Stream stream = movie(4);
  stream.blocks[1].frame.soundNumber = 1;
  stream.blocks[2].frame.soundNumber = 2;
  stream.blocks[3].frame.soundNumber = 3;
  stream.blocks[4].frame.soundNumber = 1;
  writeBytes(file("m.vxa"), encodeStream(stream));
  fs::create_directories(file("sounds"));
  fs::copy_file(fs::path(VXA_TEST_DATA) / "../../../examples/sounds/1.WAV", file("sounds/1.wav"));
  writeText(file("sounds/2.WAV"), "not a sound");
  const std::vector<size_t> at = starts(stream);
  const Result result = run("check " + file("m.vxa").string() + " --sounds " + file("sounds").string());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            "block 2 at byte " + std::to_string(at[2]) + ": frame 2 names sound 2, and " +
                file("sounds/2.WAV").string() + " is no sound file: the plug-in tells of it in a box and plays nothing\n"
            "block 3 at byte " + std::to_string(at[3]) + ": frame 3 names sound 3, and " + file("sounds").string() +
                " has no 3.WAV: the plug-in tells of it in a box and plays nothing\n");
}

TEST_F(VxaTool, InfoGivesTheMoviesFigures) {
  Stream stream = movie(12, 12);
  stream.header.loop = 1;
  stream.header.background = 1;
  stream.blocks[0] = groups({1, 2}, {object(ObjectKind::Rect), object(ObjectKind::Oval)});
  stream.blocks[3].frame.items.push_back(place(2));
  stream.blocks[3].frame.soundNumber = 7;
  stream.blocks[5].frame.soundNumber = 3;
  writeBytes(file("m.vxa"), encodeStream(stream));
  const Result result = run("info " + file("m.vxa").string());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "layout: wide, version 10000\n"
            "size: 64 x 32 pixels\n"
            "background: colour 0 (#ffffff)\n"
            "frame rate: 12 a second: a frame every 83 ms asked, every 100 ms shown\n"
            "loops: yes, back to frame 6 after frame 12\n"
            "waits for a click: no\n"
            "frames: 12 in the table, 12 sent\n"
            "groups: 3 in the table, 2 sent\n"
            "blocks: 13, 0 left out; " + std::to_string(encodeStream(stream).size()) + " bytes\n"
            "one pass: 1.20 s (frames 1 to 12)\n"
            "objects per frame: min 2, median 2, max 4\n"
            "sounds: 3, 7\n");
}

TEST_F(VxaTool, TimelinePrintsFramesCuesAndTheEnd) {
  Stream stream = movie(8, 50);
  stream.header.wait = 1;
  stream.blocks[1].frame.soundNumber = 1;
  const Bytes bytes = encodeStream(stream);
  writeBytes(file("m.vxa"), bytes);
  const std::vector<size_t> at = starts(stream);
  // Frames 1 and 2 come at once, the rest at 500; a click at 900 ends the hold.
  const Result result =
      run("timeline " + file("m.vxa").string() + " --chunk 0:" + std::to_string(at[3]) + " --chunk 10:0" +
          " --chunk 300:1 --chunk 500:" + std::to_string(bytes.size()) + " --click 890 --sounds " +
          (fs::path(VXA_TEST_DATA) / "../../../examples/sounds").string());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "cue 320 start 1\nframe 320 1\nframe 340 2\n"
            "frame 500 3\nframe 520 4\nframe 540 5\nframe 560 6\nframe 900 7\nframe 920 8\n"
            "end 920 ended at frame 8\n");
}

// The colour of pixel (x, y) of a PNG file, as 0xRRGGBB.
uint32_t pixelOf(const fs::path& png, int x, int y) {
  int width = 0, height = 0, channels = 0;
  uint8_t* rgb = stbi_load(png.c_str(), &width, &height, &channels, 3);
  EXPECT_NE(rgb, nullptr) << png;
  if (!rgb || x >= width || y >= height) return 0xDEAD;
  const uint8_t* p = rgb + 3 * (static_cast<size_t>(y) * width + x);
  const uint32_t colour = p[0] << 16 | p[1] << 8 | p[2];
  stbi_image_free(rgb);
  return colour;
}

TEST_F(VxaTool, RenderDrawsEachFrameAsPlaybackShowsIt) {
  // Frame n places an 8 x 8 black square at x = 8 (n - 1); frame 3 repeats
  // frame 2's item and adds one of group 2 at x = 40: 30 wide circles, then a
  // square the drawing budget leaves out.
  Stream stream = movie(4);
  stream.header.background = 1;
  ObjectRecord square = object(ObjectKind::Rect);
  square.fill1 = square.fill2 = square.line1 = square.line2 = 0;
  ObjectRecord circle = object(ObjectKind::Oval);
  circle.right = circle.bottom = 255;
  circle.lineWidth = 2;
  circle.fillPattern = 255;
  circle.line1 = circle.line2 = 1;
  std::vector<ObjectRecord> heavy(30, circle);
  heavy.push_back(square);
  stream.blocks[0] = groups({1}, {square});
  stream.blocks[0].groups.push_back(GroupRecord{2, 0, 7, 7, heavy});
  for (int16_t n = 1; n <= 4; ++n) stream.blocks[n].frame.items = {place(1, static_cast<int16_t>(8 * (n - 1)))};
  stream.blocks[3].frame.items = {Item{0, 0, 0, 0, 0, 0, 0}, place(2, 40)};
  writeBytes(file("m.vxa"), encodeStream(stream));

  Result result = run("render " + file("m.vxa").string() + " --frames " + file("all").string());
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(file("all")), fs::directory_iterator()), 4);
  const uint32_t black = 0x000000, white = 0xFFFFFF;
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE(n);
    char name[16];
    std::snprintf(name, sizeof name, "all/%05d.png", n);
    for (int k = 1; k <= 4; ++k) {
      // Frame 3 shows frame 2's square through its repeat, not one of its own.
      const bool inked = k == (n == 3 ? 2 : n);
      EXPECT_EQ(pixelOf(file(name), 8 * (k - 1) + 4, 4), inked ? black : white) << "square " << k;
    }
    EXPECT_EQ(pixelOf(file(name), 44, 4), white);
  }
  result = run("render " + file("m.vxa").string() + " --frame 3 -o " + file("3.png").string());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(readBytes(file("3.png")), readBytes(file("all/00003.png")));

  // Frame 3 never arrives: frames 1 and 2 are drawn, 3 and 4 are not.
  stream.blocks.erase(stream.blocks.begin() + 3);
  writeBytes(file("stalls.vxa"), encodeStream(stream));
  struct Case {
    std::string arguments;
    int status;
    std::string err;
  };
  const std::string stalls = "render " + file("stalls.vxa").string();
  const Case failures[] = {
      {stalls + " --frame 3 -o " + file("s3.png").string(), 1,
       "vxa: frame 3 never shows: playback stalls at frame 2, as frame 3 or a group it places never arrives "
       "(vxa check tells more)\n"},
      {stalls + " --frames " + file("some").string(), 1,
       "vxa: frame 3 never shows: playback stalls at frame 2, as frame 3 or a group it places never arrives "
       "(vxa check tells more); 2 frames in all never show\n"},
      {stalls + " --frame 5 -o " + file("s5.png").string(), 1,
       "vxa: frame 5 is outside the movie's frame table 1..4\n"},
      {stalls + " --frame 1", 2, "vxa: --frame needs -o FRAME.png (see vxa --help)\n"},
      {stalls + " -o " + file("x.png").string(), 2,
       "vxa: render needs either --frame N with -o, or --frames DIR (see vxa --help)\n"},
  };
  for (const Case& c : failures) {
    SCOPED_TRACE(c.arguments);
    result = run(c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.err);
  }
  EXPECT_FALSE(fs::exists(file("s3.png")));
  EXPECT_TRUE(fs::exists(file("some/00002.png")));
  EXPECT_FALSE(fs::exists(file("some/00003.png")));
}

}  // namespace
}  // namespace vxa
