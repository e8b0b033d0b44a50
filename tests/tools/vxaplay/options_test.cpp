// vxaplay's command line: every option its usage documents, read once with a
// good value and once with a bad one, and the usage, the table below and the
// README naming the same options.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "options.h"

namespace {

// A command line (after the program's name), and either what the options
// must then hold or, for a fault, a part of the message.
struct Case {
    std::vector<std::string> args;
    std::function<void(const Options&)> expect;
};
struct Fault {
    std::vector<std::string> args;
    std::string error;
};

bool parse(std::vector<std::string> args, Options& options, std::string& error) {
    args.insert(args.begin(), "vxaplay");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    return parseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

std::string commandLine(const std::vector<std::string>& args) {
    std::string line = "vxaplay";
    for (const std::string& arg : args) line += " " + arg;
    return line;
}

// The first option of a command line.
std::string optionOf(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (arg.rfind("--", 0) == 0) return arg;
    return std::string();
}

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {{"m.vxa"}, [](const Options& o) {
             EXPECT_EQ(o.movie, "m.vxa");
             EXPECT_EQ(o.mode, NP_EMBED);
             EXPECT_EQ(o.chunk, 0u);
             EXPECT_EQ(o.runFor, -1);
             EXPECT_EQ(o.destroyAt, -1);
             EXPECT_EQ(o.endReason, NPRES_DONE);
             EXPECT_FALSE(o.batch);
             EXPECT_FALSE(o.help);
         }},
        {{"--plugins", "C:\\p", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.plugins, "C:\\p"); }},
        {{"--install-dir", "/tmp/nav", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.installDir, "/tmp/nav"); }},
        {{"--mode", "full", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.mode, NP_FULL); }},
        {{"--mode", "embed", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.mode, NP_EMBED); }},
        {{"--chunk", "100", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.chunk, 100u); }},
        {{"--chunk-delay", "15", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.chunkDelay, 15); }},
        {{"--end-delay", "40", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.endDelay, 40); }},
        {{"--end-reason", "network-error", "m.vxa"},
         [](const Options& o) { EXPECT_EQ(o.endReason, NPRES_NETWORK_ERR); }},
        {{"--end-reason", "user-break", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.endReason, NPRES_USER_BREAK); }},
        {{"--for", "2500", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.runFor, 2500); }},
        {{"--click", "10", "--click", "20", "m.vxa"},
         [](const Options& o) { EXPECT_EQ(o.clicks, (std::vector<int>{10, 20})); }},
        {{"--esc", "30", "--esc", "5", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.escapes, (std::vector<int>{30, 5})); }},
        {{"--destroy", "700", "m.vxa"}, [](const Options& o) {
             EXPECT_EQ(o.destroyAt, 700);
             EXPECT_FALSE(o.destroyInPump);
         }},
        {{"--destroy", "700:pump", "m.vxa"}, [](const Options& o) {
             EXPECT_EQ(o.destroyAt, 700);
             EXPECT_TRUE(o.destroyInPump);
         }},
        {{"--snapshot", "100:a.png", "--snapshot", "200:C:\\b.png", "m.vxa"}, [](const Options& o) {
             ASSERT_EQ(o.snapshots.size(), 2u);
             EXPECT_EQ(o.snapshots[0], std::make_pair(100, std::string("a.png")));
             EXPECT_EQ(o.snapshots[1], std::make_pair(200, std::string("C:\\b.png")));
         }},
        {{"--record", "out/frames", "m.vxa"}, [](const Options& o) { EXPECT_EQ(o.recordDir, "out/frames"); }},
        {{"m.vxa", "--batch"}, [](const Options& o) { EXPECT_TRUE(o.batch); }},
        // The usage alone: no movie needed, and what follows is not read.
        {{"--help"}, [](const Options& o) { EXPECT_TRUE(o.help); }},
        {{"-h", "--mode", "page"}, [](const Options& o) { EXPECT_TRUE(o.help); }},
    };
    return table;
}

const std::vector<Fault>& faults() {
    static const std::vector<Fault> table = {
        {{}, "no movie given"},
        {{"a.vxa", "b.vxa"}, "more than one movie: b.vxa"},
        {{"m.vxa", "--plugins"}, "--plugins: needs a value"},
        {{"--mode", "page", "m.vxa"}, "--mode: 'page' is not embed or full"},
        {{"--chunk", "0", "m.vxa"}, "is not a byte count above 0"},
        {{"--chunk-delay", "-1", "m.vxa"}, "'-1' is not a time in ms"},
        {{"--end-delay", "4x", "m.vxa"}, "'4x' is not a time in ms"},
        {{"--end-reason", "timeout", "m.vxa"}, "not done, network-error or user-break"},
        {{"--for", "99999999999", "m.vxa"}, "is not a time in ms"},
        {{"--destroy", "700:later", "m.vxa"}, "is not MS or MS:pump"},
        {{"--snapshot", "100:", "m.vxa"}, "is not MS:FILE"},
        {{"--speed", "2", "m.vxa"}, "unknown option --speed"},
    };
    return table;
}

TEST(VxaplayOptions, EveryOptionReadsItsValueOrSaysWhatIsWrong) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(commandLine(c.args));
        Options options;
        std::string error;
        ASSERT_TRUE(parse(c.args, options, error)) << error;
        c.expect(options);
    }
    for (const Fault& f : faults()) {
        SCOPED_TRACE(commandLine(f.args));
        Options options;
        std::string error;
        EXPECT_FALSE(parse(f.args, options, error));
        EXPECT_NE(error.find(f.error), std::string::npos) << error;
    }
}

std::set<std::string> optionNames(const std::string& text) {
    static const std::regex option("--[a-z][a-z-]*");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        names.insert(it->str());
    return names;
}

// An option added to the parser but not to the usage, the README or the
// table above is an option nobody knows of or nobody has checked.
TEST(VxaplayOptions, UsageReadmeAndTableNameTheSameOptions) {
    const std::set<std::string> usage = optionNames(kUsage);
    std::set<std::string> tested;
    for (const Case& c : cases())
        if (const std::string name = optionOf(c.args); !name.empty()) tested.insert(name);
    EXPECT_EQ(tested, usage);

    std::ifstream in(README_PATH);
    ASSERT_TRUE(in) << README_PATH;
    const std::string readme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t begin = readme.find("## vxaplay");
    ASSERT_NE(begin, std::string::npos) << "the README has no vxaplay section";
    const size_t end = readme.find("\n## ", begin + 1);
    EXPECT_EQ(optionNames(readme.substr(begin, end - begin)), usage);
}

}  // namespace
