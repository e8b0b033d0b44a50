// Message reporting through real message boxes, answered by the watcher.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "message_box_watcher.h"
#include "plugin/messages.h"
#include "plugin/report.h"

namespace {

std::string repeat(char c, size_t n) { return std::string(n, c); }

TEST(Report, EachSeverityShowsItsCaptionAndAnswersOk) {
    MessageBoxWatcher watcher;
    EXPECT_EQ(IDOK, reportDebugNote("note %d", 1));
    EXPECT_EQ(IDOK, reportWarning("warning %s", "two"));
    EXPECT_EQ(IDOK, reportError(messages::kNotEnoughMemory));
    ASSERT_EQ(3u, watcher.boxes().size());
    EXPECT_EQ("Debug Note", watcher.boxes()[0].caption);
    EXPECT_EQ("note 1", watcher.boxes()[0].text);
    EXPECT_EQ("Warning", watcher.boxes()[1].caption);
    EXPECT_EQ("warning two", watcher.boxes()[1].text);
    EXPECT_EQ("Error", watcher.boxes()[2].caption);
    EXPECT_EQ(messages::kNotEnoughMemory, watcher.boxes()[2].text);
}

TEST(Report, FormatOf155CharactersIsShownAnd156IsReplaced) {
    MessageBoxWatcher watcher;
    const std::string longest = repeat('a', 155);
    reportError(longest.c_str());
    const std::string tooLong = repeat('b', 155) + "%d";  // 157: the argument is never read
    reportError(tooLong.c_str(), 7);
    const std::string justOver = repeat('c', 156);
    reportWarning(justOver.c_str());
    ASSERT_EQ(3u, watcher.boxes().size());
    EXPECT_EQ(longest, watcher.boxes()[0].text);
    EXPECT_EQ("whoops, string too long to display!", watcher.boxes()[1].text);
    EXPECT_EQ("Error", watcher.boxes()[1].caption);
    EXPECT_EQ("whoops, string too long to display!", watcher.boxes()[2].text);
    EXPECT_EQ("Warning", watcher.boxes()[2].caption);
}

TEST(Report, ExpandedTextIsCutAt254Characters) {
    MessageBoxWatcher watcher;
    const std::string big = repeat('x', 1000);
    reportError("%s%s", big.c_str(), "tail");
    ASSERT_EQ(1u, watcher.boxes().size());
    EXPECT_EQ(repeat('x', 254), watcher.boxes()[0].text);
}

TEST(Report, FontMessageNamesFaceAndSize) {
    MessageBoxWatcher watcher;
    reportWarning(messages::kCantCreateFont, "Times New Roman", 14);
    ASSERT_EQ(1u, watcher.boxes().size());
    EXPECT_EQ("Can't create font : Times New Roman, size : 14", watcher.boxes()[0].text);
}

// In a child process: the box is shown and answered, then the process ends
// with status 3 without returning to its caller.
void fatalInChild() {
    MessageBoxWatcher watcher(true, [](const SeenBox& box) {
        std::fprintf(stderr, "box [%s] [%s]\n", box.caption.c_str(), box.text.c_str());
        std::fflush(stderr);
    });
    reportFatal(messages::kCantCreateFont, "Arial", 9);
    std::fprintf(stderr, "returned\n");
}

TEST(ReportDeathTest, FatalShowsItsBoxThenEndsTheProcessWithStatus3) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(fatalInChild(), testing::ExitedWithCode(3),
                "box \\[Fatal\\] \\[Can't create font : Arial, size : 9\\]");
}

}  // namespace
