// The font tables: stream names to faces and sizes, and faces to the font
// files that stand in for them.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "core/tables/font_map.h"

namespace {

TEST(FontMapping, KnownNamesMapToFacesAndTimesGrows) {
    struct Case {
        const char* name;
        int size;
        const char* face;
        int mapped;
    } cases[] = {
        {"Courier", 12, "Courier New", 12},   {"Geneva", 9, "MS Sans Serif", 9},
        {"Heltvetica", 10, "Arial", 10},      {"Monaco", 9, "Terminal", 9},
        {"New York", 12, "MS Serif", 12},     {"Symbol", 14, "Symbol", 14},
        {"Times", 12, "Times New Roman", 14}, {"Times", 14, "Times New Roman", 18},
        {"Times", 18, "Times New Roman", 24}, {"Times", 24, "Times New Roman", 30},
        {"Times", 13, "Times New Roman", 13}, {"Helvetica", 12, "System", 12},
        {"Chicago", 12, "System", 12},        {"times", 12, "System", 12},
        {"Times ", 12, "System", 12},         {"", 12, "System", 12},
        {"Courier", 24, "Courier New", 24},
    };
    for (const Case& c : cases) {
        const MappedFont mapped = mapFontName(c.name, c.size);
        EXPECT_STREQ(c.face, mapped.faceName) << c.name;
        EXPECT_EQ(c.mapped, mapped.size) << c.name << " " << c.size;
    }
}

TEST(FontMapping, EveryMappedFaceHasAStandInWhoseFourStylesAreInstalled) {
    const char* names[] = {"Courier", "Geneva", "Heltvetica", "Monaco", "New York", "Symbol", "Times", "Chicago"};
    std::set<std::string> faces;
    for (const char* name : names) faces.insert(mapFontName(name, 12).faceName);
    EXPECT_EQ(8u, faces.size());
    for (const std::string& face : faces) {
        const char* family = standInFamily(face.c_str());
        ASSERT_NE(nullptr, family) << face;
        for (int style = 0; style < 4; ++style) {
            const std::string path =
                "/usr/share/fonts/truetype/liberation/" + fontFileName(family, style & 1, style & 2);
            EXPECT_TRUE(std::ifstream(path).good()) << face << ": " << path;
        }
    }
    EXPECT_EQ(nullptr, standInFamily("Helvetica"));
    EXPECT_EQ("LiberationSerif-BoldItalic.ttf", fontFileName("Liberation Serif", true, true));
}

}  // namespace
