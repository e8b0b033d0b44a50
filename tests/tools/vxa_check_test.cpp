// vxa check, info and timeline on valid and damaged streams: every finding
// with its place and what the plug-in does, the figures info gives, and the
// frame times the timeline prints.
#include <gtest/gtest.h>

#include "movie/format/block_encoder.h"
#include "movie/format/stream.h"
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

}  // namespace
}  // namespace vxa
