#include "graphics/pattern_tile_maker.h"

PatternTileMaker::PatternTileMaker(HDC reference, HBITMAP sheet)
    : sheet_(sheet),
      source_(CreateCompatibleDC(reference)),
      target_(CreateCompatibleDC(reference)),
      tile_(CreateCompatibleBitmap(reference, kTileSize, kTileSize)) {
    sourceDefault_ = fw::selectInto(source_.handle(), sheet_);
    targetDefault_ = fw::selectInto(target_.handle(), tile_.handle());
}

PatternTileMaker::~PatternTileMaker() {
    // The sheet and the tile go back out before their contexts are deleted.
    if (sourceDefault_) SelectObject(source_.handle(), sourceDefault_);
    if (targetDefault_) SelectObject(target_.handle(), targetDefault_);
}

HBRUSH PatternTileMaker::makeBrush(int tile, COLORREF color1, COLORREF color2) {
    if (!targetDefault_) return nullptr;  // no tile to paint
    HDC target = target_.handle();
    // A monochrome source takes the target's text colour for its black pixels
    // and its background colour for the white ones.
    SetTextColor(target, color1);
    SetBkColor(target, color2);
    if (sourceDefault_) {
        BitBlt(target, 0, 0, kTileSize, kTileSize, source_.handle(), kTileSize * (tile % 8),
               kTileSize * ((tile / 8) % 8), SRCCOPY);
    } else {
        // Without a sheet every tile is blank: all second colour, never what
        // the tile held before.
        const RECT whole{0, 0, kTileSize, kTileSize};
        fw::Brush blank(CreateSolidBrush(color2));
        FillRect(target, &whole, blank.handle());
    }
    // The brush copies the tile's pixels, so the tile serves the next brush.
    return CreatePatternBrush(tile_.handle());
}
