#include "core/tables/font_map.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// "Heltvetica" is spelled as the authoring tool wrote it.
constexpr FontNameRow kFontRows[] = {
    {"Courier", "Courier New"}, {"Geneva", "MS Sans Serif"}, {"Heltvetica", "Arial"},      {"Monaco", "Terminal"},
    {"New York", "MS Serif"},   {"Symbol", "Symbol"},        {"Times", "Times New Roman"},
};

// Times New Roman runs smaller than the Times the movies were laid out with.
int timesSize(int size) {
    switch (size) {
        case 12: return 14;
        case 14: return 18;
        case 18: return 24;
        case 24: return 30;
        default: return size;
    }
}

struct FaceFont {
    const char* faceName;
    const char* family;
};

constexpr FaceFont kFaceFonts[] = {
#include "core/tables/face_fonts.inc"
};

}  // namespace

const char kFallbackFaceName[] = "System";

std::vector<FontNameRow> fontNameRows() { return {std::begin(kFontRows), std::end(kFontRows)}; }

MappedFont mapFontName(const char* fontName, int size) {
    for (const FontNameRow& row : kFontRows) {
        if (std::strcmp(row.streamName, fontName) != 0) continue;
        const bool times = std::strcmp(row.streamName, "Times") == 0;
        return MappedFont{row.faceName, times ? timesSize(size) : size};
    }
    return MappedFont{kFallbackFaceName, size};
}

const char* standInFamily(const char* faceName) {
    for (const FaceFont& face : kFaceFonts) {
        if (std::strcmp(face.faceName, faceName) == 0) return face.family;
    }
    return nullptr;
}

std::vector<std::string> standInFamilies() {
    std::vector<std::string> families;
    for (const FaceFont& face : kFaceFonts) {
        if (std::find(families.begin(), families.end(), face.family) == families.end()) families.push_back(face.family);
    }
    return families;
}

std::string fontFileName(const char* family, bool bold, bool italic) {
    std::string name;
    for (const char* c = family; *c; ++c) {
        if (*c != ' ') name += *c;
    }
    const char* style = bold ? (italic ? "-BoldItalic" : "-Bold") : (italic ? "-Italic" : "-Regular");
    return name + style + ".ttf";
}
