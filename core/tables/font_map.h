#pragma once
// Streams name fonts of the system they were made on. These turn the names
// into faces this system has, with the sizes the faces are drawn at, and the
// faces into the free font families that stand in for them.
#include <string>
#include <vector>

struct MappedFont {
    const char* faceName;  // a constant of the mapping table
    int size;
};

// The font names a stream may give, each with the face it is drawn in, in
// the order they are matched; every other name is drawn in kFallbackFaceName.
struct FontNameRow {
    const char* streamName;
    const char* faceName;
};
std::vector<FontNameRow> fontNameRows();
extern const char kFallbackFaceName[];

// Exact, case-sensitive match of the whole name; unknown names get "System".
// "Times" is enlarged at some sizes, every other size is kept.
MappedFont mapFontName(const char* fontName, int size);

// A text of a given (mapped) size is drawn in a font whose characters are
// size + 2 pixels high: the em height, which font creation asks for as a
// negative height.
constexpr int emHeightForSize(int size) { return size + 2; }

// The Liberation family standing in for a face name of the mapping ("Liberation
// Serif"), or null for a face outside it.
const char* standInFamily(const char* faceName);

// Every family standing in for a face, each once.
std::vector<std::string> standInFamilies();

// The file of a family in a style: "Liberation Serif", bold, not italic gives
// "LiberationSerif-Bold.ttf".
std::string fontFileName(const char* family, bool bold, bool italic);
