// Runs the built vxa program as a person would and checks its files and messages.
#include <gtest/gtest.h>

#include "core/format/block_encoder.h"
#include "core/format/stream.h"
#include "sample_blocks.h"
#include "vxa_runner.h"

namespace vxa {
namespace {

using namespace vxa::testing;

TEST_F(VxaTool, BuildsTheDocumentedExampleByteForByteAndDumpsItBack) {
  const Result result = run("build " + data("example.json").string() + " -o " + file("e.vxa").string());
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");

  Header header;
  header.width = 320;
  header.height = 200;
  header.background = 1;
  header.frameRate = 12;
  header.groupCount = 1;
  header.frameCount = 2;
  Bytes expected;
  encodeHeader(header, expected);
  for (const Bytes& block : {samples::exampleBlockBytes(), samples::exampleRepeatBlockBytes()}) {
    expected.insert(expected.end(), block.begin(), block.end());
  }
  EXPECT_EQ(readBytes(file("e.vxa")), expected);

  // And its dump reads exactly like its source.
  const Result dumped = run("dump " + file("e.vxa").string());
  ASSERT_EQ(dumped.status, 0) << dumped.err;
  EXPECT_EQ(dumped.out, readText(data("example.json")));
}

TEST_F(VxaTool, SourcesUsingEveryFieldRoundTrip) {
  for (const char* name : {"everything.json", "narrow.json", "example.json"}) {
    SCOPED_TRACE(name);
    const Result built = run("build " + data(name).string() + " -o " + file("s.vxa").string());
    ASSERT_EQ(built.status, 0) << built.err;
    expectRoundTrip(readBytes(file("s.vxa")));
  }
}

TEST_F(VxaTool, EverythingSourceStoresWhatItSays) {
  const Result built = run("build " + data("everything.json").string() + " -o " + file("s.vxa").string());
  ASSERT_EQ(built.status, 0) << built.err;
  Stream stream;
  std::string error;
  ASSERT_TRUE(decodeStream(readBytes(file("s.vxa")), stream, error)) << error;
  EXPECT_EQ(stream.header.version, 10002);
  EXPECT_EQ(stream.header.loop, 1);
  EXPECT_EQ(stream.header.wait, -3);
  EXPECT_EQ(stream.header.background, 0) << "colour index 255 is stored as 0";
  ASSERT_EQ(stream.blocks.size(), 5u);
  EXPECT_EQ(stream.blocks[0].frame.filler, 171);
  const auto& objects = stream.blocks[1].groups[0].objects;
  ASSERT_EQ(objects.size(), 11u);
  EXPECT_EQ(stream.blocks[1].groups[0].widthMinus1, 255);
  EXPECT_EQ(objects[0].fill1, 36);
  EXPECT_EQ(objects[4].sweep, -180);
  EXPECT_EQ(objects[4].startAngle, 90);
  EXPECT_EQ(objects[5].text, "Caf\xE9 \x80\r\nsecond line");
  EXPECT_EQ(objects[5].textColor, 0);
  EXPECT_EQ(objects[7].skipped, "made by hand\r");
  EXPECT_EQ(objects[8].kind, 42);
  EXPECT_EQ(objects[10].fill1, 2);
  EXPECT_EQ(objects[10].line2, 5);
  const Item& item = stream.blocks[2].frame.items[1];
  EXPECT_EQ(item.presence, 7);
  EXPECT_EQ(item.extra, -1);
  EXPECT_EQ(stream.blocks[3].frame.items[0].presence, 0);

  // The dump shows string bytes as characters and escapes controls.
  const Result dumped = run("dump " + file("s.vxa").string());
  ASSERT_EQ(dumped.status, 0) << dumped.err;
  EXPECT_NE(dumped.out.find("\"text\": \"Caf\xC3\xA9 \\u0080\\r\\nsecond line\""), std::string::npos)
      << dumped.out;
}

TEST_F(VxaTool, GeneratedStreamsRoundTrip) {
  expectRoundTrip(encodeStream(samples::richStream(Layout::Wide)));
  expectRoundTrip(encodeStream(samples::richStream(Layout::Narrow)));
  expectRoundTrip(samples::longStreamBytes(Layout::Wide, 60));
  expectRoundTrip(samples::longStreamBytes(Layout::Narrow, 60));
  Stream negativeCount = samples::richStream(Layout::Wide);
  negativeCount.blocks[2].groups.clear();
  negativeCount.blocks[2].negativeGroupCount = INT16_MIN;
  expectRoundTrip(encodeStream(negativeCount));
}

struct BadSource {
  std::string source;
  std::string message;
};

TEST_F(VxaTool, BadSourcesAreRefusedWithPathAndNoOutput) {
  const std::string header =
      R"("header": {"width": 32, "height": 32, "frameRate": 10, "groupCount": 2, "frameCount": 2})";
  const std::string inGroup = "{" + header + R"(, "blocks": [{"groups": [{"id": 1, "width": 8, "height": 8, "objects": [)";
  const BadSource cases[] = {
      {"{", "parse error at line 1, column 2: syntax error while parsing object key - unexpected end "
            "of input; expected string literal"},
      {R"({"blocks": []})", "missing \"header\""},
      {R"({"header": {"width": 1}})", "header: missing \"height\""},
      {("{" + header + R"(, "bloks": []})"), "bloks: unknown field (a source has no such field)"},
      {("{" + header + R"(, "blocks": [{"frame": {"number": 1, "items": [{"group": 1, "x": 1}]}}]})"),
       "blocks[0].frame.items[0]: missing \"y\""},
      {("{" + header + R"(, "blocks": [{"frame": {"number": 1, "items": ["again"]}}]})"),
       "blocks[0].frame.items[0]: expected \"repeat\" or an object"},
      {("{" + header + R"(, "blocks": [{"frame": {"number": 0, "items": []}}]})"),
       "blocks[0].frame.items: frame 0 stores only a filler byte"},
      {("{" + header + R"(, "blocks": [{"frame": {"number": 40000}}]})"),
       "blocks[0].frame.number: 40000 is outside -32768..32767"},
      {(inGroup + R"({"kind": "rect"}, {"kind": "rect"}, {"kind": "rect", "left": 300}]}]}]})"),
       "blocks[0].groups[0].objects[2].left: 300 is outside 0..255"},
      {(inGroup + R"({"kind": "rect", "left": 1.5}]}]}]})"),
       "blocks[0].groups[0].objects[0].left: expected an integer in 0..255, found 1.5"},
      {(inGroup + R"({"kind": "rect", "left": "1"}]}]}]})"),
       "blocks[0].groups[0].objects[0].left: expected an integer in 0..255, found \"1\""},
      {(inGroup + R"({"kind": "square"}]}]}]})"),
       "blocks[0].groups[0].objects[0].kind: unknown kind name; expected one of polygon, line, oval, "
       "rect, roundrect, arc, text, comment, or a number in -128..127"},
      {(inGroup + R"({"kind": "oval", "points": []}]}]}]})"),
       "blocks[0].groups[0].objects[0].points: unknown field (an oval object has no such field)"},
      {(inGroup + R"({"kind": "text", "text": "\u20ac"}]}]}]})"),
       "blocks[0].groups[0].objects[0].text: character 0 (U+20AC) is above U+00FF: each character "
       "stands for one byte"},
      {(inGroup + R"({"kind": "text", "font": "a\u0000"}]}]}]})"),
       "blocks[0].groups[0].objects[0].font: character 1 is NUL, which would end the string in the stream"},
      {(inGroup + R"({"kind": "polygon", "points": [[1, 2, 3]]}]}]}]})"),
       "blocks[0].groups[0].objects[0].points[0]: expected a point [x, y]"},
      {(inGroup + R"({"kind": "comment", "comment": ")" + std::string(32800, 'x') + R"("}]}]}]})"),
       "blocks[0]: body of 32826 bytes exceeds 32767"},
      {R"({"header": {"layout": "narrow", "width": 10000, "height": 1, "frameRate": 1, "groupCount": 1, "frameCount": 1}})",
       "header.width: a narrow width must be below 10000, or it reads as a version"},
      {R"({"header": {"layout": "narrow", "loop": true, "width": 1, "height": 1, "frameRate": 1, "groupCount": 1, "frameCount": 1}})",
       "header.loop: only the wide layout has this field"},
      {R"({"header": {"version": 9999, "width": 1, "height": 1, "frameRate": 1, "groupCount": 1, "frameCount": 1}})",
       "header.version: 9999 is outside 10000..32767"},
      {R"({"header": {"width": 1, "width": 2}})", "duplicate key \"width\""},
      {("{" + header + R"(, "blocks": [{"bytes": "00 0g"}]})"),
       "blocks[0].bytes: character 4: expected pairs of hex digits, one pair a byte"},
      {("{" + header + R"(, "blocks": [{"bytes": "00", "frame": {"number": 1}}]})"),
       "blocks[0].frame: unknown field (raw bytes has no such field)"},
      {(inGroup + R"({"kind": "rect"}]}], "negativeGroupCount": -1}]})"),
       "blocks[0].negativeGroupCount: stands for no group records: drop \"groups\""},
      {R"({"header": {"layout": "narrow", "width": 1, "height": 1, "frameRate": 1, "groupCount": 1, "frameCount": 1}, "blocks": [{"negativeGroupCount": -1}]})",
       "blocks[0].negativeGroupCount: only the wide layout has this field"},
  };
  for (const BadSource& bad : cases) {
    SCOPED_TRACE(bad.message);
    writeText(file("bad.json"), bad.source);
    const Result result = run("build " + file("bad.json").string() + " -o " + file("out.vxa").string());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vxa: " + file("bad.json").string() + ": " + bad.message + "\n");
    EXPECT_FALSE(fs::exists(file("out.vxa")));
    EXPECT_FALSE(fs::exists(file("out.vxa.partial")));
  }
}

TEST_F(VxaTool, DamagedStreamsDumpWholeAndBuildBackByteForByte) {
  const Stream source = samples::richStream(Layout::Wide);
  const Bytes stream = encodeStream(source);
  std::vector<size_t> starts = {20};
  for (const Block& block : source.blocks) {
    Bytes bytes;
    encodeBlock(block, Layout::Wide, bytes);
    starts.push_back(starts.back() + bytes.size());
  }
  const size_t second = starts[1];
  const size_t lastBody = starts[4] - starts[3] - 2;

  Bytes truncated(stream.begin(), stream.end() - 1);
  Bytes badLength = stream;
  badLength[second] = 0xFF;
  Bytes badBody = stream;
  badBody[second + 2 + 2] = 0xFF;  // frame 1 claims 255 items
  const std::pair<Bytes, std::string> cases[] = {
      {truncated, "block 3 at byte " + std::to_string(starts[3]) + ": the stream ends inside the block (" +
                      std::to_string(lastBody - 1) + " of " + std::to_string(lastBody) + " body bytes present)"},
      {badLength, "block 1 at byte " + std::to_string(second) + ": block length 0xFF29 is 32768 or more"},
      {badBody, "block 1 at byte " + std::to_string(second) + ": item 5 of frame 1 runs past the end of the block"},
  };
  for (const auto& [bytes, finding] : cases) {
    SCOPED_TRACE(finding);
    expectRoundTrip(bytes);
    const Result dumped = run("dump " + file("a.vxa").string());
    EXPECT_EQ(dumped.status, 0);
    EXPECT_NE(dumped.err.find("vxa: " + file("a.vxa").string() + ": " + finding), std::string::npos) << dumped.err;
    EXPECT_NE(dumped.out.find("\"bytes\": \""), std::string::npos);
  }

  // Only a stream without a whole header is refused.
  writeBytes(file("bad.vxa"), Bytes(stream.begin(), stream.begin() + 7));
  const Result cut = run("dump " + file("bad.vxa").string() + " -o " + file("out.json").string());
  EXPECT_EQ(cut.status, 1);
  EXPECT_EQ(cut.err, "vxa: " + file("bad.vxa").string() + ": the stream ends inside its header (7 bytes)\n");
  EXPECT_FALSE(fs::exists(file("out.json")));
}

TEST_F(VxaTool, OutOfRangeIdsBuildWithAWarning) {
  const std::string source =
      R"({"header": {"width": 32, "height": 32, "frameRate": 10, "groupCount": 2, "frameCount": 2},
          "blocks": [{"frame": {"number": 3}}, {"groups": [{"id": 1, "width": 1, "height": 1}]}]})";
  writeText(file("s.json"), source);
  const Result result = run("build " + file("s.json").string() + " -o " + file("s.vxa").string());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "vxa: warning: " + file("s.json").string() +
                            ": blocks[0]: frame number 3 is outside 1..2; players will refuse this block\n");
  EXPECT_TRUE(fs::exists(file("s.vxa")));
}

TEST_F(VxaTool, CommandLineMistakesAreUsageErrors) {
  for (const char* arguments : {"", "bake x.json", "build", "build a.json", "build a.json b.json -o c",
                                "dump a.vxa -o", "dump a.vxa -x"}) {
    SCOPED_TRACE(arguments);
    const Result result = run(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("(see vxa --help)\n"), std::string::npos) << result.err;
  }
  const Result help = run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: vxa build SOURCE.json -o MOVIE.vxa\n", 0), 0u) << help.out;
}

TEST_F(VxaTool, MissingInputIsAnErrorWithoutOutput) {
  const Result result = run("build " + file("none.json").string() + " -o " + file("x.vxa").string());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "vxa: " + file("none.json").string() + ": cannot read: No such file or directory\n");
  EXPECT_FALSE(fs::exists(file("x.vxa")));
}

}  // namespace
}  // namespace vxa
