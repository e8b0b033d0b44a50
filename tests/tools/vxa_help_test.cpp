// `vxa help TOPIC`: each topic says what players do, read back from the
// tables and the timeline it is made from. A topic that printed a wrong
// row, a mirrored tile or a rate the timer cannot give fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "help_topics.h"

namespace vxa::tool {
namespace {

struct Expectation {
    std::string topic;
    std::vector<std::string> lines;  // each must be in the text
};

TEST(VxaHelpTopics, EachTopicTellsWhatPlayersDo) {
    const std::vector<Expectation> table = {
        // white, the cube's pure red and blue, the plain colours that differ
        // from the cube (37, 213), black
        {"colours", {"  0 255 255 255*", " 35 255   0   0*", " 36 204 255 255 ", " 37 192 220 192*",
                     "210   0   0 255*", "213   0   0 128*", "215 238   0   0\n", "255   0   0   0*"}},
        // pattern 22 is a checkerboard starting with the first colour; 1 is
        // all the second; 12's tile is all the first
        {"patterns", {"#.#.#.#.", "65 is 1"}},
        {"kinds", {" 0  polygon", " 1  line", " 2  oval", " 3  rect", " 4  roundrect", " 5  arc", " 6  text",
                   " 7  comment"}},
        {"text", {"\"Heltvetica\"   Arial", "\"Geneva\"       MS Sans Serif", "\"Times\"        Times New Roman",
                  "anything else  System", "12 -> 14 14 -> 18 18 -> 24 24 -> 30\n", "size + 2 pixels",
                  "-1 right; anything else left."}},
        // the timer's 20 ms: 24 plays at 17, 12 at 10, 100 at 50; rate 0 at 1
        {"playback", {"        0  1\n", "       12  10\n", "       24  17\n", "       50  50\n", "      100  50\n",
                      "1 2 3 4 5 6 7 8 6 7 8 6 7 8 6 7 ...", "loop, 5 frames:          1 2 3 4 5 (ends)",
                      "1 2 3 4 5 6 (click) 7 8 9 (ends)", "waitForClick, 5 frames:  1 2 3 4 5 (ends)", "waitForClick holds once, on frame 6,"}},
        {"sounds", {"N.WAV", "PROGRAM\\PLUGINS\\VXA_WAV\\"}},
    };
    ASSERT_EQ(table.size(), helpTopics().size());
    for (size_t i = 0; i < table.size(); ++i) {
        const Expectation& e = table[i];
        SCOPED_TRACE(e.topic);
        EXPECT_EQ(e.topic, helpTopics()[i].name);
        const std::optional<std::string> text = helpTopicText(e.topic);
        ASSERT_TRUE(text);
        for (const std::string& line : e.lines) EXPECT_NE(text->find(line), std::string::npos) << line << "\n" << *text;
    }
    const std::string colours = *helpTopicText("colours");
    const std::string rows = colours.substr(colours.find("\n\n"));
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '*'), 20);
    EXPECT_FALSE(helpTopicText("colour"));
}

}  // namespace
}  // namespace vxa::tool
