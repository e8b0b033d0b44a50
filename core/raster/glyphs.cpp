#include "core/raster/glyphs.h"

#include FT_BITMAP_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>

namespace raster {

namespace {

// The gasp table's flag for "antialias at this size"; without it the glyphs
// are one-bit and hinted for one-bit output.
constexpr uint16_t kGaspDoGray = 0x0002;

bool gaspAllowsGray(FT_Face face, int ppem) {
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, TTAG_gasp, 0, nullptr, &length) || length < 8) return true;
    std::vector<uint8_t> table(length);
    if (FT_Load_Sfnt_Table(face, TTAG_gasp, 0, table.data(), &length)) return true;
    auto word = [&](size_t at) { return static_cast<uint16_t>(table[at] << 8 | table[at + 1]); };
    const uint16_t version = word(0);
    const uint16_t ranges = word(2);
    if (version > 1 || length < (static_cast<size_t>(ranges) * 2 + 2) * 2) return true;
    uint16_t flags = 0;
    for (uint16_t i = 0; i < ranges; ++i) {
        flags = word(4 + 4 * i + 2);
        if (ppem <= word(4 + 4 * i)) break;
    }
    return (flags & kGaspDoGray) != 0;
}

}  // namespace

SizedFace::SizedFace(FT_Face face, int ppem) : face_(face) {
    FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(ppem));
    antialiased_ = gaspAllowsGray(face_, face_->size->metrics.y_ppem);
    fixedPitch_ = FT_IS_FIXED_WIDTH(face_);
    emScale_ = FT_MulDiv(ppem, 1 << 16, face_->units_per_EM);
    const TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    const TT_HoriHeader* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
    const TT_Postscript* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face_, FT_SFNT_POST));
    FT_Long ascent = hhea ? hhea->Ascender : face_->ascender;
    FT_Long descent = hhea ? -hhea->Descender : -face_->descender;
    if (os2 && os2->usWinAscent + os2->usWinDescent != 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    }
    ascent_ = static_cast<int>(FT_MulFix(ascent, emScale_));
    descent_ = static_cast<int>(FT_MulFix(descent, emScale_));
    if (post) {
        underlinePosition_ = static_cast<int>(FT_MulFix(post->underlinePosition, emScale_));
        underlineThickness_ = static_cast<int>(FT_MulFix(post->underlineThickness, emScale_));
    }
}

int SizedFace::roundedAdvance(FT_Pos advance) const {
    // A full-width character of a fixed-pitch face is exactly twice the
    // average width.
    const TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (fixedPitch_ && os2) {
        const FT_Long average = FT_MulFix(os2->xAvgCharWidth, emScale_);
        if (average > 0 && (advance + 63) >> 6 == FT_MulFix(os2->xAvgCharWidth * 2, emScale_)) {
            advance = (average * 2) << 6;
        }
    }
    return static_cast<int>(((advance + 63) & -64) >> 6);
}

bool SizedFace::load(uint16_t c, bool forDrawing, FT_Glyph_Metrics& metrics, FT_BBox& box) {
    const bool mono = forDrawing && !antialiased_;
    FT_Int32 flags = FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH;
    flags |= mono ? FT_LOAD_TARGET_MONO : (FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP);
    const FT_UInt index = FT_Get_Char_Index(face_, c);
    if (FT_Load_Glyph(face_, index, flags) && FT_Load_Glyph(face_, index, flags | FT_LOAD_NO_HINTING)) {
        return false;
    }
    metrics = face_->glyph->metrics;
    // Glyphs are cut to the face's ascent and descent.
    const FT_Pos top = std::min<FT_Pos>(metrics.horiBearingY, static_cast<FT_Pos>(ascent_) << 6);
    const FT_Pos bottom =
        std::max<FT_Pos>(metrics.horiBearingY - metrics.height, -(static_cast<FT_Pos>(descent_) << 6));
    metrics.horiBearingY = top;
    metrics.height = top - bottom;
    box.xMin = metrics.horiBearingX & -64;
    box.xMax = (metrics.horiBearingX + metrics.width + 63) & -64;
    box.yMax = (metrics.horiBearingY + 63) & -64;
    box.yMin = (metrics.horiBearingY - metrics.height) & -64;
    return true;
}

int SizedFace::layoutAdvance(uint16_t c) {
    const auto found = advances_.find(c);
    if (found != advances_.end()) return found->second;
    FT_Glyph_Metrics metrics{};
    FT_BBox box{};
    const int advance = load(c, false, metrics, box) ? roundedAdvance(metrics.horiAdvance) : 0;
    advances_.emplace(c, advance);
    return advance;
}

const Glyph& SizedFace::glyph(uint16_t c) {
    const auto found = glyphs_.find(c);
    if (found != glyphs_.end()) return found->second;
    Glyph& glyph = glyphs_[c];
    glyphBytes_ += sizeof(Glyph);
    FT_Glyph_Metrics metrics{};
    FT_BBox box{};
    if (!load(c, true, metrics, box)) return glyph;
    glyph.advance = roundedAdvance(metrics.horiAdvance);
    glyph.originX = static_cast<int>(box.xMin >> 6);
    glyph.originY = static_cast<int>(box.yMax >> 6);
    const int width = static_cast<int>((box.xMax - box.xMin) >> 6);
    const int height = static_cast<int>((box.yMax - box.yMin) >> 6);
    if (width <= 0 || height <= 0 || face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return glyph;

    const bool mono = !antialiased_;
    FT_Bitmap bitmap;
    FT_Bitmap_Init(&bitmap);
    bitmap.width = static_cast<unsigned>(width);
    bitmap.rows = static_cast<unsigned>(height);
    bitmap.pitch = mono ? ((width + 31) >> 5) << 2 : (width + 3) / 4 * 4;
    bitmap.pixel_mode = mono ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY;
    std::vector<uint8_t> buffer(static_cast<size_t>(bitmap.pitch) * static_cast<size_t>(height), 0);
    bitmap.buffer = buffer.data();
    FT_Outline_Translate(&face_->glyph->outline, -box.xMin, -box.yMin);
    FT_Outline_Get_Bitmap(face_->glyph->library, &face_->glyph->outline, &bitmap);

    glyph.width = width;
    glyph.height = height;
    glyph.levels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    glyphBytes_ += glyph.levels.size();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = buffer.data() + static_cast<size_t>(y) * bitmap.pitch;
        for (int x = 0; x < width; ++x) {
            const uint8_t level =
                mono ? ((row[x >> 3] & (0x80 >> (x & 7))) ? 16 : 0) : static_cast<uint8_t>(row[x] * 17 / 256);
            glyph.levels[static_cast<size_t>(y) * width + x] = level;
        }
    }
    // Drawn run by run: a one-bit glyph is a few fills a row.
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = glyph.levels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width;) {
            if (row[x] <= 1) {
                ++x;
                continue;
            }
            const bool full = row[x] >= 16;
            const int start = x;
            while (x < width && row[x] > 1 && (row[x] >= 16) == full) ++x;
            glyph.runs.push_back(GlyphRun{y, start, x, full});
        }
    }
    glyph.runs.shrink_to_fit();
    glyphBytes_ += glyph.runs.size() * sizeof(GlyphRun);
    return glyph;
}

}  // namespace raster
