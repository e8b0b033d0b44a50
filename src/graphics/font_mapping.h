#pragma once
// Streams name fonts of the system they were made on; these turn the names
// into faces this system has, and make a text object's font.
#include "framework/gdi_object.h"

struct MappedFont {
    const char* faceName;  // a constant of the mapping table
    int size;
};

// Exact, case-sensitive match of the whole name; unknown names get "System".
// "Times" is enlarged at some sizes, every other size is kept.
MappedFont mapFontName(const char* fontName, int size);

// A font whose characters are size + 2 pixels high (em height). Empty when
// the platform refuses.
fw::Font createTextFont(const char* faceName, int size, bool bold, bool italic, bool underline);
