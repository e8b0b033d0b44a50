// Fonts as the web player takes them in, part by part: a text is shown as
// soon as the parts it needs are in, not held back for parts that texts
// later in the movie asked for; a part that can't be had settles its text.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "web/wasm/page_fonts.h"

namespace {

const std::string kFile = "LiberationSerif-Bold.ttf";

std::vector<uint8_t> partBytes(const std::string& partName) {
    std::ifstream in(std::string(ZURED16_CUT_FONTS_DIR) + "/" + partName, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Hands in what drawable() asks for until it asks for nothing more.
bool fetchUntilDrawable(web::PageFonts& fonts, const std::string& text) {
    for (int round = 0; round < 4; ++round) {
        std::vector<std::string> toFetch;
        if (fonts.drawable(kFile, text, toFetch)) return true;
        for (const std::string& part : toFetch) fonts.provide(part, partBytes(part));
    }
    return false;
}

TEST(PageFonts, ATextIsDrawableOnceItsOwnPartsAreIn) {
    web::PageFonts fonts;
    const std::string title = "Tolvane";
    std::string later;  // characters of parts the title does not use
    for (int byte = 0xC0; byte < 0x100; ++byte) {
        if (web::fontPartOf(static_cast<uint8_t>(byte)) > 3) later += static_cast<char>(byte);
    }
    std::vector<std::string> forTitle;
    std::vector<std::string> forLater;
    EXPECT_FALSE(fonts.drawable(kFile, title, forTitle));
    EXPECT_FALSE(fonts.drawable(kFile, later, forLater));
    ASSERT_FALSE(forLater.empty());

    ASSERT_TRUE(fetchUntilDrawable(fonts, title));
    EXPECT_TRUE(fonts.library().hasFile(kFile));
    std::vector<std::string> none;
    EXPECT_FALSE(fonts.drawable(kFile, later, none)) << "the later text's parts are still out";

    // One of them can't be had (its bytes are not a part): the text is
    // drawn without those glyphs, and waits no longer.
    for (size_t i = 0; i < forLater.size(); ++i) {
        if (forLater[i] == web::fontPartName(kFile, 0)) continue;
        fonts.provide(forLater[i], i == forLater.size() - 1 ? std::vector<uint8_t>{1, 2, 3} : partBytes(forLater[i]));
    }
    EXPECT_TRUE(fetchUntilDrawable(fonts, later));
}

}  // namespace
