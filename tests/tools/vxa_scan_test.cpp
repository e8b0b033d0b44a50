// vxa scan over a folder as a collector has it: the examples, an upper-case
// name in a subfolder, damaged copies, a file that is no movie, a sound
// folder with a file missing. One scan checks the rows; the same files in
// JSON lines, with posters, and split in two shards of a list.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "vxa_runner.h"

namespace vxa {
namespace {

using namespace vxa::testing;

class VxaScan : public VxaTool {
 protected:
  void SetUp() override {
    VxaTool::SetUp();
    const fs::path examples = VXA_EXAMPLES;
    fs::create_directories(file("disc/SUB"));
    fs::create_directories(file("disc/VXA_WAV"));
    fs::copy_file(examples / "showcase.vxa", file("disc/showcase.vxa"));
    fs::copy_file(examples / "narrow.vxa", file("disc/SUB/MOVIE.VXA"));
    for (const char* sound : {"1.WAV", "2.WAV", "3.WAV"}) {
      fs::copy_file(examples / "sounds" / sound, file("disc/VXA_WAV") / sound);
    }
    const Bytes showcase = readBytes(examples / "showcase.vxa");
    writeBytes(file("disc/cut.vxa"), Bytes(showcase.begin(), showcase.begin() + showcase.size() / 2));
    writeBytes(file("disc/stub.vxa"), Bytes{0x27, 0x10, 0x00});
    writeText(file("disc/notes.txt"), "not a movie, and not named like one\n");
  }

  std::vector<std::string> lines(const std::string& text) const {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
};

TEST_F(VxaScan, OneRowPerMovieInOrderAndBadFilesSayWhy) {
  const Result scan = run("scan " + file("disc").string() + " --jobs 3");
  ASSERT_EQ(0, scan.status) << scan.err;
  const std::vector<std::string> rows = lines(scan.out);
  ASSERT_EQ(5u, rows.size()) << scan.out;
  EXPECT_EQ(0u, rows[0].find("path,bytes,error,layout,width,height,rate,loops,wait_for_click,"));
  const std::string disc = file("disc").string();
  // Files in name order, the upper-case name in its subfolder included, the
  // text file left out.
  EXPECT_EQ(0u, rows[1].find(disc + "/SUB/MOVIE.VXA,"));
  EXPECT_EQ(0u, rows[2].find(disc + "/cut.vxa,"));
  EXPECT_EQ(0u, rows[3].find(disc + "/showcase.vxa,"));
  EXPECT_EQ(0u, rows[4].find(disc + "/stub.vxa,3,"));
  EXPECT_NE(std::string::npos, rows[1].find(",,narrow,")) << rows[1];
  // The showcase is whole and plays its 4.8 s to the end, with the four
  // findings of its unknown faces; sound 4 has no file beside it.
  EXPECT_NE(std::string::npos, rows[3].find(",7507,,wide,480,320,12,yes,no,48,48,26,26,4800,yes,4,")) << rows[3];
  EXPECT_NE(std::string::npos, rows[3].find(",1 2 3 4,4,Arial;Courier New;")) << rows[3];
  // The cut copy is read as far as it goes, stalls, and finds more.
  EXPECT_NE(std::string::npos, rows[2].find(",48,12,26,20,,no,8,")) << rows[2];
  EXPECT_NE(std::string::npos, rows[4].find("ends inside its header")) << rows[4];
}

TEST_F(VxaScan, JsonLinesPostersAndShardsOfAList) {
  const Result scan = run("scan " + file("disc").string() + " --jsonl --posters " + file("posters").string());
  ASSERT_EQ(0, scan.status) << scan.err;
  const std::vector<std::string> rows = lines(scan.out);
  ASSERT_EQ(4u, rows.size()) << scan.out;
  const nlohmann::json showcase = nlohmann::json::parse(rows[2]);
  EXPECT_EQ(480, showcase["width"]);
  EXPECT_EQ(true, showcase["plays_to_end"]);
  EXPECT_EQ(nlohmann::json({1, 2, 3, 4}), showcase["sounds"]);
  EXPECT_EQ(nlohmann::json({4}), showcase["sounds_missing"]);
  EXPECT_TRUE(showcase["error"].is_null());
  EXPECT_FALSE(nlohmann::json::parse(rows[3])["error"].is_null());

  // The poster is the picture of frame 1, as vxa render draws it.
  const std::string poster = showcase["poster"];
  ASSERT_TRUE(fs::exists(poster)) << poster;
  ASSERT_EQ(0, run("render " + file("disc/showcase.vxa").string() + " --frame 1 -o " + file("one.png").string())
                   .status);
  EXPECT_EQ(readBytes(file("one.png")), readBytes(poster));

  // Two shards of a list hold every file once between them.
  std::string list;
  for (const char* name : {"showcase.vxa", "SUB/MOVIE.VXA", "cut.vxa", "stub.vxa", "gone.vxa"}) {
    list += (file("disc") / name).string() + "\n";
  }
  writeText(file("list.txt"), list);
  std::vector<std::string> both;
  for (const char* shard : {"1/2", "2/2"}) {
    const Result part = run("scan --list " + file("list.txt").string() + " --shard " + shard + " --jsonl");
    ASSERT_EQ(0, part.status) << part.err;
    for (const std::string& row : lines(part.out)) both.push_back(nlohmann::json::parse(row)["path"]);
  }
  std::sort(both.begin(), both.end());
  std::vector<std::string> all = lines(list);
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, both);

  EXPECT_EQ(2, run("scan").status);
  EXPECT_EQ(2, run("scan --list " + file("list.txt").string() + " --shard 3/2").status);
  EXPECT_EQ(1, run("scan --list " + file("no-list.txt").string()).status);
}

}  // namespace
}  // namespace vxa
