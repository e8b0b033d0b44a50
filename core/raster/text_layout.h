#pragma once
// The lines of a text block as the platform's DrawText lays them out with
// word breaking, top alignment and no prefix processing: each line is cut
// where the text no longer fits the box's width (at the last place a line
// may be broken, or after an overlong word), carriage returns and line feeds
// end lines, and lines are laid down one line height apart until one reaches
// past the box's bottom.
#include <cstdint>
#include <functional>
#include <vector>

namespace raster {

struct LaidLine {
    int start = 0;   // index of the line's first character in the text
    int length = 0;  // characters drawn
    int x = 0;       // left end of the line, box coordinates
    int y = 0;       // top of the line
    int width = 0;   // the line's extent
};

enum class Alignment { Left, Centre, Right };

struct TextBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// advance(c): how far the character moves the pen, the extent measure.
std::vector<LaidLine> layOutText(const std::vector<uint16_t>& text, const TextBox& box, Alignment alignment,
                                 int lineHeight, const std::function<int(uint16_t)>& advance);

}  // namespace raster
