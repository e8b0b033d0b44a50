// Every option and help form that `vxa --help` documents, used once on a
// small movie that holds for a click and names a sound, with what it must
// then do; and the help naming exactly the options this table uses.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "vxa_runner.h"

namespace vxa {
namespace {

using namespace vxa::testing;

// Seven frames at 10 a second (a frame every 100 ms, the first at the first
// 20-ms timer message), holding on frame 6; frame 1 names sound 3.
constexpr char kSource[] = R"({
  "header": {"width": 20, "height": 20, "frameRate": 10, "groupCount": 1, "frameCount": 7, "waitForClick": true},
  "blocks": [{"frame": {"number": 1, "sound": 3}}, {"frame": {"number": 2}}, {"frame": {"number": 3}},
             {"frame": {"number": 4}}, {"frame": {"number": 5}}, {"frame": {"number": 6}}, {"frame": {"number": 7}}]
})";

struct Case {
    std::string args;    // {src}, {movie} and {dir} are filled in
    int status;
    std::string output;  // a part of standard output, or of the file -o names
};

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {"build {src} -o {dir}/out", 0, ""},
        {"dump {movie} -o {dir}/out", 0, "\"waitForClick\": true"},
        // no 3.WAV in the folder given
        {"check {movie} --sounds {dir}", 1, "frame 1 names sound 3, and"},
        {"info {movie}", 0, "frames: 7 in the table, 7 sent"},
        // the timer starts with the second chunk
        {"timeline {movie} --chunk 0:30 --chunk 300:1000", 0, "frame 320 1\n"},
        // ... or with the end of the stream; the frames not sent never come
        {"timeline {movie} --chunk 0:30 --end 200", 0, "frame 220 1\nend 320 stalled at frame 1"},
        // a click before the hold already ends it: frame 7 follows at once
        {"timeline {movie} --click 150", 0, "frame 520 6\nframe 620 7\n"},
        // the hold on frame 6 ends 100 ms after it began
        {"timeline {movie} --hold 100", 0, "frame 520 6\nframe 620 7\nend 620 ended at frame 7"},
        {"timeline {movie} --sounds {dir}", 0, "cue 20 start 3 silent\n"},
        {"timeline {movie} --for 250", 0, "frame 220 3\nend 260 cut at frame 3"},
        // frame 7 comes after the hold, which a render answers by itself
        {"render {movie} --frame 7 -o {dir}/frame.png", 0, "\x89PNG"},
        {"render {movie} --frames {dir}/frames", 0, ""},
        // the kind of file the name asks for (vxa_export_test checks what is in it)
        {"export {movie} -o {dir}/out.gif", 0, "GIF89a"},
        {"export {movie} -o {dir}/out.png --loops 0", 0, "\x89PNG"},
        {"export {movie} -o {dir}/out.gif --hold 100", 0, "GIF89a"},
        {"export {movie} -o {dir}/out.png --sounds {dir}", 0, "\x89PNG"},
        // a row per movie found; vxa_scan_test checks the rows
        {"scan {dir} --jsonl --jobs 2", 0, "\"frames_declared\":7"},
        {"scan {dir} --posters {dir}/posters", 0, "movie.vxa.png"},
        {"scan --list {dir}/list.txt --shard 1/1", 0, "movie.vxa,"},
        // a window needs a display (vxa_play_test opens one); a wrong option
        // is refused before any window opens
        {"play {movie} --scale 0", 2, ""},
        {"play {movie} --snapshot 100", 2, ""},
        {"help", 0, "vxa help [COMMAND | TOPIC]"},
        {"--help", 0, "vxa help [COMMAND | TOPIC]"},
        {"-h", 0, "vxa help [COMMAND | TOPIC]"},
        {"help timeline", 0, "usage: vxa timeline MOVIE.vxa"},
        {"play --help", 0, "F or a double click toggles full screen"},
        {"help playback", 0, "       24  17\n"},
        {"help colour", 2, ""},
        {"help build dump", 2, ""},
    };
    return table;
}

std::string filledIn(std::string text, const std::string& field, const std::string& value) {
    for (size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + value.size()))
        text.replace(at, field.size(), value);
    return text;
}

class VxaOptions : public VxaTool {};

TEST_F(VxaOptions, EveryDocumentedOptionDoesWhatItSays) {
    writeText(file("source.json"), kSource);
    ASSERT_EQ(run("build " + file("source.json").string() + " -o " + file("movie.vxa").string()).status, 0);
    writeText(file("list.txt"), file("movie.vxa").string() + "\n");
    for (const Case& c : cases()) {
        std::string args = filledIn(c.args, "{src}", file("source.json").string());
        args = filledIn(args, "{movie}", file("movie.vxa").string());
        args = filledIn(args, "{dir}", dir_.string());
        SCOPED_TRACE("vxa " + c.args);
        const size_t o = c.args.find("-o {dir}/");
        const fs::path written = o == std::string::npos ? fs::path() : file(c.args.substr(o + 9, c.args.find(' ', o + 9) - o - 9));
        const Result result = run(args);
        EXPECT_EQ(result.status, c.status) << result.err;
        if (!written.empty()) EXPECT_TRUE(fs::exists(written)) << written;
        const std::string output = written.empty() ? result.out : readText(written);
        EXPECT_NE(output.find(c.output), std::string::npos) << output << result.err;
    }
}

std::set<std::string> optionNames(const std::string& text) {
    static const std::regex option("(^|[ \\[])(--?[a-z][a-z-]*)");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        names.insert((*it)[2].str());
    return names;
}

// An option added to a command but not to this table is an option nobody has
// checked: add a row above.
TEST_F(VxaOptions, TheHelpNamesTheOptionsTheTableUses) {
    const Result help = run("--help");
    ASSERT_EQ(help.status, 0);
    const std::string usage = help.out.substr(0, help.out.find("\n\n"));
    std::string used;
    for (const Case& c : cases()) used += " " + c.args;
    std::set<std::string> documented = optionNames(usage);
    documented.insert({"--help", "-h"});
    EXPECT_EQ(optionNames(used), documented);
}

}  // namespace
}  // namespace vxa
