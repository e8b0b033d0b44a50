#include "graphics/font_keeper.h"

FontKeeper::FontKeeper(HDC reference, HFONT font)
    : context_(CreateCompatibleDC(reference)), bitmap_(CreateCompatibleBitmap(reference, 1, 1)) {
    // The bitmap gives the context the surface's depth: glyphs are cached
    // per depth.
    defaultBitmap_ = fw::selectInto(context_.handle(), bitmap_.handle());
    if (defaultBitmap_) defaultFont_ = fw::selectInto(context_.handle(), font);
}

FontKeeper::~FontKeeper() {
    // Both go back out before the context, the bitmap and the font are deleted.
    if (defaultFont_) SelectObject(context_.handle(), defaultFont_);
    if (defaultBitmap_) SelectObject(context_.handle(), defaultBitmap_);
}
