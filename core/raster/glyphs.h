#pragma once
// One face of a font file at one pixel size, measured and rasterized with
// FreeType the way Wine's GDI does it on top of FreeType: the same hinting
// per output mode, the same rounding of boxes and advances, the same choice
// between one-bit and 17-level antialiased glyphs (the font's gasp table
// decides per size), and the same cell metrics.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace raster {

// Pixels of one bitmap row that a glyph inks: all fully, or all partly
// (levels 2..15; levels 0 and 1 leave the picture as it is).
struct GlyphRun {
    int y = 0;
    int x0 = 0, x1 = 0;
    bool full = false;
};

struct Glyph {
    int originX = 0;  // from the pen position to the bitmap's left edge
    int originY = 0;  // from the baseline up to the bitmap's top edge
    int width = 0;    // bitmap size; 0 for a glyph that draws nothing
    int height = 0;
    int advance = 0;              // how far drawing moves the pen
    std::vector<uint8_t> levels;  // width * height coverage levels, 0..16
    std::vector<GlyphRun> runs;   // row by row, left to right
};

class SizedFace {
public:
    // face must stay alive as long as this; ppem is the em height in pixels.
    SizedFace(FT_Face face, int ppem);

    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int height() const { return ascent_ + descent_; }
    int underlinePosition() const { return underlinePosition_; }  // negative: below the baseline
    int underlineThickness() const { return underlineThickness_; }

    // The advance the text extents use (layout and alignment).
    int layoutAdvance(uint16_t c);
    // The glyph as drawn, with its own advance; rendered once and kept until
    // forgetGlyphs.
    const Glyph& glyph(uint16_t c);
    bool hasGlyph(uint16_t c) const { return glyphs_.count(c) != 0; }
    // The bytes of the glyphs kept, and letting them go.
    size_t glyphBytes() const { return glyphBytes_; }
    void forgetGlyphs() {
        glyphs_.clear();
        glyphBytes_ = 0;
    }

private:
    bool load(uint16_t c, bool forDrawing, FT_Glyph_Metrics& metrics, FT_BBox& box);
    int roundedAdvance(FT_Pos advance) const;

    FT_Face face_;
    bool antialiased_ = false;
    bool fixedPitch_ = false;
    FT_Fixed emScale_ = 0;
    int ascent_ = 0, descent_ = 0;
    int underlinePosition_ = 0, underlineThickness_ = 0;
    std::map<uint16_t, int> advances_;
    std::map<uint16_t, Glyph> glyphs_;
    size_t glyphBytes_ = 0;
};

}  // namespace raster
