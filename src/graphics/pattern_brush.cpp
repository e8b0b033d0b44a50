// Brushes cut from the pattern sheet and coloured with a pair of colour
// indices. The sheet is the 64 x 64 monochrome bitmap of the module's
// resources, made at build time from tables/pattern_tiles.inc: tile p - 1 of a
// pattern p lies at column (p - 1) mod 8, row (p - 1) div 8.
#include "graphics/tables/color_table.h"
#include "graphics/offscreen_surface.h"

namespace {

constexpr int kNoPattern = 255;
constexpr int kSolidSecondColor = 0;
constexpr int kSolidFirstColor = 12;
constexpr int kTileSize = 8;

// Exact black and white are the stock brushes, which cost no creation.
HBRUSH solidBrush(COLORREF color) {
    if (color == RGB(0, 0, 0)) return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (color == RGB(255, 255, 255)) return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return CreateSolidBrush(color);
}

// An 8 x 8 bitmap of one tile in the format of the surface it will paint
// (which is the screen's): the sheet's black pixels in color1, its white
// pixels in color2. Taking the surface's own context as the reference spares
// a trip to the display for every brush.
HBITMAP colouredTile(HDC surface, HBITMAP sheet, int tile, COLORREF color1, COLORREF color2) {
    HDC screen = surface ? nullptr : GetWindowDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(surface ? surface : screen, kTileSize, kTileSize);
    if (screen) ReleaseDC(nullptr, screen);
    if (!bitmap) return nullptr;

    HDC source = CreateCompatibleDC(surface);
    HDC destination = CreateCompatibleDC(surface);
    if (source && destination) {
        HGDIOBJ oldSource = sheet ? SelectObject(source, sheet) : nullptr;
        HGDIOBJ oldDestination = SelectObject(destination, bitmap);
        // A monochrome source takes the destination's text colour for its
        // black pixels and its background colour for the white ones.
        SetTextColor(destination, color1);
        SetBkColor(destination, color2);
        if (sheet) {
            BitBlt(destination, 0, 0, kTileSize, kTileSize, source, kTileSize * (tile % 8),
                   kTileSize * ((tile / 8) % 8), SRCCOPY);
        } else {
            // Without a sheet every tile is blank: all second colour, never
            // whatever the new bitmap happened to hold.
            const RECT whole{0, 0, kTileSize, kTileSize};
            fw::Brush blank(CreateSolidBrush(color2));
            FillRect(destination, &whole, blank.handle());
        }
        if (oldSource) SelectObject(source, oldSource);
        SelectObject(destination, oldDestination);
    }
    if (source) DeleteDC(source);
    if (destination) DeleteDC(destination);
    return bitmap;
}

}  // namespace

int OffscreenSurface::makePatternBrush(int16_t pattern, int colorIndex1, int colorIndex2,
                                       fw::Brush& brush) const {
    const int p = pattern & 0xFF;
    if (p == kNoPattern) return 0;
    const COLORREF color1 = colorForIndex(colorIndex1);
    const COLORREF color2 = colorForIndex(colorIndex2);
    if (p == kSolidSecondColor) {
        brush.reset(solidBrush(color2));
    } else if (p == kSolidFirstColor) {
        brush.reset(solidBrush(color1));
    } else if (color1 == color2) {
        brush.reset(CreateSolidBrush(color1));
    } else {
        fw::Bitmap tile(colouredTile(handle(), patternSheet_.handle(), (p - 1) % 256, color1, color2));
        brush.reset(tile ? CreatePatternBrush(tile.handle()) : nullptr);
    }
    return 1;
}

int OffscreenSurface::makeShapeBrushes(const ObjectHeader& header, fw::Brush& fill, fw::Brush& line) const {
    const int madeFill = makePatternBrush(header.fillPattern, header.fillColor1, header.fillColor2, fill);
    const int madeLine = makePatternBrush(header.linePattern, header.lineColor1, header.lineColor2, line);
    return madeFill && madeLine;
}
