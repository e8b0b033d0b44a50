// The web player's fonts are cut to the characters a text can hold and
// fetched in parts; every such character must come out of a cut file, and
// out of one put together from just the parts its text asks for, exactly as
// out of the whole one: cell metrics, layout advances, and the glyph bitmaps
// of both output modes (the gasp table picks one-bit or antialiased per
// size), at every size a movie's text is drawn at.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/raster/glyphs.h"
#include "web/wasm/font_parts.h"

namespace {

constexpr uint16_t kCodePageHigh[32] = {
#include "core/tables/windows_1252.inc"
};

std::vector<uint16_t> codePageCharacters() {
    std::vector<uint16_t> characters;
    for (int byte = 0; byte < 256; ++byte) {
        characters.push_back(byte >= 0x80 && byte < 0xA0 ? kCodePageHigh[byte - 0x80] : static_cast<uint16_t>(byte));
    }
    return characters;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Face {
public:
    Face(FT_Library library, std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
        if (bytes_.empty() || FT_New_Memory_Face(library, bytes_.data(), static_cast<FT_Long>(bytes_.size()), 0, &face_)) {
            face_ = nullptr;
        }
    }
    ~Face() {
        if (face_) FT_Done_Face(face_);
    }
    FT_Face face() const { return face_; }
    size_t size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
    FT_Face face_ = nullptr;
};

// The em heights of text sizes 1..64 (size + 2), and a few far larger.
std::vector<int> emHeights() {
    std::vector<int> heights;
    for (int ppem = 3; ppem <= 66; ++ppem) heights.push_back(ppem);
    for (int ppem : {80, 100, 130}) heights.push_back(ppem);
    return heights;
}

// Every character given draws from `cut` as from `whole`.
void expectSameGlyphs(const Face& whole, const Face& cut, const std::vector<uint16_t>& characters) {
    ASSERT_TRUE(whole.face() && cut.face());
    for (int ppem : emHeights()) {
        SCOPED_TRACE("em height " + std::to_string(ppem));
        raster::SizedFace a(whole.face(), ppem);
        raster::SizedFace b(cut.face(), ppem);
        ASSERT_EQ(a.ascent(), b.ascent());
        ASSERT_EQ(a.descent(), b.descent());
        ASSERT_EQ(a.underlinePosition(), b.underlinePosition());
        ASSERT_EQ(a.underlineThickness(), b.underlineThickness());
        int differing = 0;
        for (uint16_t c : characters) {
            const raster::Glyph& ga = a.glyph(c);
            const raster::Glyph& gb = b.glyph(c);
            const bool same = a.layoutAdvance(c) == b.layoutAdvance(c) && ga.advance == gb.advance &&
                              ga.originX == gb.originX && ga.originY == gb.originY &&
                              ga.width == gb.width && ga.height == gb.height && ga.levels == gb.levels;
            if (!same && ++differing <= 3) ADD_FAILURE() << "character U+" << std::hex << c << " differs";
        }
        ASSERT_EQ(0, differing);
    }
}

// The file as a player puts it together for a text of these bytes: part 0
// first, then what it asks for until nothing more is needed.
std::vector<uint8_t> putTogether(const std::string& stem, const std::string& text) {
    web::FontFileParts parts;
    for (uint32_t asked = 0, needed = 1; needed != asked;) {
        for (int part = 0; part < web::kMaxFontParts; ++part) {
            if (!(needed >> part & 1) || (asked >> part & 1)) continue;
            const std::string path = std::string(ZURED16_CUT_FONTS_DIR) + "/" + stem + "." + std::to_string(part) + ".fontpart";
            const std::vector<uint8_t> bytes = readFile(path);
            EXPECT_TRUE(parts.take(part, bytes.data(), bytes.size())) << path;
        }
        asked = needed;
        needed = parts.needed(text);
    }
    return parts.bytes();
}

TEST(CutFonts, EveryCharacterOfTheCodePageDrawsAsFromTheWholeFile) {
    FT_Library library = nullptr;
    ASSERT_EQ(0, FT_Init_FreeType(&library));
    const std::vector<uint16_t> characters = codePageCharacters();
    for (const char* family : {"Sans", "Serif", "Mono"}) {
        for (const char* style : {"Regular", "Bold", "Italic", "BoldItalic"}) {
            const std::string stem = std::string("Liberation") + family + "-" + style;
            SCOPED_TRACE(stem);
            const Face whole(library, readFile("/usr/share/fonts/truetype/liberation/" + stem + ".ttf"));
            const Face cut(library, readFile(std::string(ZURED16_CUT_FONTS_DIR) + "/" + stem + ".ttf"));
            EXPECT_LT(cut.size(), whole.size() / 2) << "not cut";
            expectSameGlyphs(whole, cut, characters);
            // Each part's characters, from a file of only what they ask for.
            for (int part = 0; part < web::kMaxFontParts; ++part) {
                std::string text;
                std::vector<uint16_t> drawn;
                for (int byte = 0; byte < 256; ++byte) {
                    if (web::fontPartOf(static_cast<uint8_t>(byte)) != part) continue;
                    text += static_cast<char>(byte);
                    drawn.push_back(characters[static_cast<size_t>(byte)]);
                }
                if (text.empty()) continue;
                SCOPED_TRACE("part " + std::to_string(part));
                expectSameGlyphs(whole, Face(library, putTogether(stem, text)), drawn);
            }
        }
    }
    FT_Done_FreeType(library);
}

// Parts that are not what they say are refused whole, as a missing part is.
TEST(CutFonts, APartThatIsNotOneIsRefused) {
    const std::vector<uint8_t> first = readFile(std::string(ZURED16_CUT_FONTS_DIR) + "/LiberationSans-Regular.0.fontpart");
    const std::vector<uint8_t> other = readFile(std::string(ZURED16_CUT_FONTS_DIR) + "/LiberationSans-Regular.1.fontpart");
    const std::vector<uint8_t> foreign = readFile(std::string(ZURED16_CUT_FONTS_DIR) + "/LiberationMono-Bold.1.fontpart");
    ASSERT_GT(first.size(), 16u);
    auto changed = [](std::vector<uint8_t> bytes, size_t at, uint8_t value) { bytes[at] = value; return bytes; };
    const struct {
        const char* what;
        int part;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"a header cut short", 0, std::vector<uint8_t>(first.begin(), first.begin() + 15)},
        {"compressed bytes cut short", 0, std::vector<uint8_t>(first.begin(), first.end() - 9)},
        {"compressed bytes damaged", 0, changed(first, 20, first[20] ^ 0x5A)},
        {"a run longer than it unpacks to", 0, changed(first, 10, first[10] + 1)},
        {"a run past the file's end", 0, changed(first, 2, 0)},
        {"a file too large to be a face", 0, changed(first, 0, 0x7F)},
        {"part 0 taken as another", 1, first},
        {"another taken as part 0", 0, other},
        {"a part of another face", 1, foreign},
    };
    for (const auto& c : cases) {
        web::FontFileParts parts;
        const bool afterFirst = c.part != 0;
        if (afterFirst) ASSERT_TRUE(parts.take(0, first.data(), first.size()));
        EXPECT_FALSE(parts.take(c.part, c.bytes.data(), c.bytes.size())) << c.what;
        EXPECT_EQ(afterFirst, parts.usable()) << c.what;
    }

    std::string file;
    int part = -1;
    ASSERT_TRUE(web::parseFontPartName(web::fontPartName("LiberationSerif-BoldItalic.ttf", 17), file, part));
    EXPECT_EQ("LiberationSerif-BoldItalic.ttf", file);
    EXPECT_EQ(17, part);
    for (const char* name : {"LiberationSans-Bold.ttf", ".3.fontpart", "LiberationSans-Bold.32.fontpart",
                             "LiberationSans-Bold.x.fontpart", "LiberationSans-Bold..fontpart"}) {
        EXPECT_FALSE(web::parseFontPartName(name, file, part)) << name;
    }
}

}  // namespace
