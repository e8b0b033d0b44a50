#pragma once
// Keeps a font realized between the frames that draw with it. Under Wine a
// font that no context holds selected loses its realized form and its cache
// of rendered glyphs once a few other fonts have been used (Wine keeps only
// the last five or ten), and realizing and rendering them again costs about a
// millisecond for a two-line caption. A movie whose captions use more fonts
// than that paid it for every caption of every frame. A keeper is a memory
// context of the surface's format, which is what the glyph cache is kept by,
// with the font selected into it for as long as the keeper lives.
#include <windows.h>

#include "framework/device_context.h"
#include "framework/gdi_object.h"

class FontKeeper {
public:
    // reference: the context the font is drawn on. A keeper whose context or
    // bitmap can't be made keeps nothing; drawing is the same either way.
    FontKeeper(HDC reference, HFONT font);
    ~FontKeeper();
    FontKeeper(const FontKeeper&) = delete;
    FontKeeper& operator=(const FontKeeper&) = delete;

private:
    fw::DeviceContext context_;
    fw::Bitmap bitmap_;
    HGDIOBJ defaultBitmap_ = nullptr;
    HGDIOBJ defaultFont_ = nullptr;
};
