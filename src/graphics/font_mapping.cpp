#include "graphics/font_mapping.h"

#include <cstring>

namespace {

struct FontRow {
    const char* streamName;
    const char* faceName;
};

// "Heltvetica" is spelled as the authoring tool wrote it.
constexpr FontRow kFontRows[] = {
    {"Courier", "Courier New"}, {"Geneva", "MS Sans Serif"}, {"Heltvetica", "Arial"},
    {"Monaco", "Terminal"},     {"New York", "MS Serif"},     {"Symbol", "Symbol"},
    {"Times", "Times New Roman"},
};
constexpr char kFallbackFace[] = "System";

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

}  // namespace

MappedFont mapFontName(const char* fontName, int size) {
    for (const FontRow& row : kFontRows) {
        if (std::strcmp(row.streamName, fontName) != 0) continue;
        const bool times = std::strcmp(row.streamName, "Times") == 0;
        return MappedFont{row.faceName, times ? timesSize(size) : size};
    }
    return MappedFont{kFallbackFace, size};
}

fw::Font createTextFont(const char* faceName, int size, bool bold, bool italic, bool underline) {
    return fw::Font(CreateFontA(-(size + 2), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE,
                                DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_ROMAN, faceName));
}
