#pragma once
// Object headers for the drawing tests, and the colour indices they use.
#include "core/tables/object_header.h"

namespace colors {
constexpr int kWhite = 0;     // plain (255, 255, 255)
constexpr int kYellow = 5;    // plain (255, 255, 0)
constexpr int kGrey = 43;     // plain (192, 192, 192): the test background
constexpr int kGreen = 185;   // plain (0, 255, 0)
constexpr int kBlue = 210;    // plain (0, 0, 255)
constexpr int kRed = 215;     // palette-relative (238, 0, 0)
constexpr int kBlack = 255;   // plain (0, 0, 0)
}  // namespace colors

struct Fill {
    int pattern = 255;
    int color1 = colors::kBlack;
    int color2 = colors::kWhite;
};

struct Line {
    int pattern = 255;
    int color1 = colors::kBlack;
    int color2 = colors::kWhite;
    int width = 1;
};

inline ObjectHeader makeHeader(int left, int top, int right, int bottom, Fill fill, Line line) {
    ObjectHeader header;
    header.left = left;
    header.top = top;
    header.right = right;
    header.bottom = bottom;
    header.fillColor1 = fill.color1;
    header.fillColor2 = fill.color2;
    header.lineColor1 = line.color1;
    header.lineColor2 = line.color2;
    header.fillPattern = static_cast<int16_t>(fill.pattern);
    header.linePattern = static_cast<int16_t>(line.pattern);
    header.lineWidth = static_cast<int16_t>(line.width);
    return header;
}
