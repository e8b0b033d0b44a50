// Brushes cut from the pattern sheet and coloured with a pair of colour
// indices. The sheet is the 64 x 64 monochrome bitmap of the module's
// resources, made at build time from core/tables/pattern_tiles.inc: tile p - 1 of a
// pattern p lies at column (p - 1) mod 8, row (p - 1) div 8.
#include "core/format/wire.h"
#include "core/tables/color_table.h"
#include "graphics/offscreen_surface.h"

namespace {

// Exact black and white are the stock brushes, which cost no creation.
HBRUSH solidBrush(COLORREF color) {
    if (color == RGB(0, 0, 0)) return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (color == RGB(255, 255, 255)) return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return CreateSolidBrush(color);
}

}  // namespace

int OffscreenSurface::makePatternBrush(int16_t pattern, int colorIndex1, int colorIndex2,
                                       fw::Brush& brush) const {
    const int p = pattern & 0xFF;
    if (p == Pattern::None) return 0;
    const COLORREF color1 = colorForIndex(colorIndex1);
    const COLORREF color2 = colorForIndex(colorIndex2);
    if (p == Pattern::SolidSecond) {
        brush.reset(solidBrush(color2));
    } else if (p == Pattern::SolidFirst) {
        brush.reset(solidBrush(color1));
    } else if (color1 == color2) {
        brush.reset(CreateSolidBrush(color1));
    } else {
        if (!tileMaker_) tileMaker_ = std::make_unique<PatternTileMaker>(handle(), patternSheet_.handle());
        brush.reset(tileMaker_->makeBrush((p - 1) % 64, color1, color2));
    }
    return 1;
}

int OffscreenSurface::makeShapeBrushes(const ObjectHeader& header, fw::Brush& fill, fw::Brush& line) const {
    const int madeFill = makePatternBrush(header.fillPattern, header.fillColor1, header.fillColor2, fill);
    const int madeLine = makePatternBrush(header.linePattern, header.lineColor1, header.lineColor2, line);
    return madeFill && madeLine;
}
