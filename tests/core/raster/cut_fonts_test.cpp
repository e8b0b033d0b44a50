// The web player's fonts are cut to the characters a text can hold; every
// such character must come out of a cut file exactly as out of the whole
// one: cell metrics, layout advances, and the glyph bitmaps of both output
// modes (the gasp table picks one-bit or antialiased per size), at every
// size a movie's text is drawn at.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/raster/glyphs.h"

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
    Face(FT_Library library, const std::string& path) : bytes_(readFile(path)) {
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

TEST(CutFonts, EveryCharacterOfTheCodePageDrawsAsFromTheWholeFile) {
    FT_Library library = nullptr;
    ASSERT_EQ(0, FT_Init_FreeType(&library));
    const std::vector<uint16_t> characters = codePageCharacters();
    for (const char* family : {"Sans", "Serif", "Mono"}) {
        for (const char* style : {"Regular", "Bold", "Italic", "BoldItalic"}) {
            const std::string name = std::string("Liberation") + family + "-" + style + ".ttf";
            SCOPED_TRACE(name);
            const Face whole(library, "/usr/share/fonts/truetype/liberation/" + name);
            const Face cut(library, std::string(ZURED16_CUT_FONTS_DIR) + "/" + name);
            ASSERT_TRUE(whole.face() && cut.face());
            EXPECT_LT(cut.size(), whole.size() / 2) << "not cut";
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
    }
    FT_Done_FreeType(library);
}

}  // namespace
