#include "graphics/font_mapping.h"

fw::Font createTextFont(const char* faceName, int size, bool bold, bool italic, bool underline) {
    // A negative height asks for the em height, not the cell height.
    return fw::Font(CreateFontA(-emHeightForSize(size), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline,
                                FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_ROMAN, faceName));
}
