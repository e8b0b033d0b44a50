#pragma once
// Makes the pattern brushes of one surface: a tile of the pattern sheet is
// coloured by a monochrome-to-colour copy into an 8 x 8 bitmap of the
// surface's format, and the brush takes a copy of that bitmap.
//
// The two memory contexts and the tile bitmap are made once and kept, with
// the sheet and the tile selected: under Wine, making a context and selecting
// a colour bitmap into one each ask the display server for its depth, which
// cost hundreds of microseconds a brush when done per brush, more than all the
// drawing a brush serves.
#include <windows.h>

#include "framework/device_context.h"
#include "framework/gdi_object.h"

class PatternTileMaker {
public:
    static constexpr int kTileSize = 8;

    // reference: the surface's context. sheet: the 64 x 64 monochrome pattern
    // sheet, or null, with which every tile is blank (all second colour). The
    // sheet must outlive the maker, which keeps it selected.
    PatternTileMaker(HDC reference, HBITMAP sheet);
    ~PatternTileMaker();
    PatternTileMaker(const PatternTileMaker&) = delete;
    PatternTileMaker& operator=(const PatternTileMaker&) = delete;

    // A brush of tile t (0..63: column t mod 8, row t div 8): the sheet's
    // black pixels in color1, its white ones in color2. Null when the platform
    // refuses.
    HBRUSH makeBrush(int tile, COLORREF color1, COLORREF color2);

private:
    HBITMAP sheet_;
    fw::DeviceContext source_;
    fw::DeviceContext target_;
    fw::Bitmap tile_;
    HGDIOBJ sourceDefault_ = nullptr;
    HGDIOBJ targetDefault_ = nullptr;
};
