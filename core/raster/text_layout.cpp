#include "core/raster/text_layout.h"

#include <algorithm>

#include "core/raster/word_breaks.h"

namespace raster {

namespace {

constexpr uint16_t kSpace = 0x20;
constexpr uint16_t kCarriageReturn = 0x0D;
constexpr uint16_t kLineFeed = 0x0A;
// The platform assembles a line in a buffer of this many characters; what a
// line holds beyond it is not drawn.
constexpr int kLineBuffer = 1024;

bool endsLine(uint16_t c) { return c == kCarriageReturn || c == kLineFeed; }

class Measure {
public:
    explicit Measure(const std::function<int(uint16_t)>& advance) : advance_(advance) {}

    int extent(const uint16_t* chars, int count) const {
        int total = 0;
        for (int i = 0; i < count; ++i) total += advance_(chars[i]);
        return total;
    }

    // How many leading characters end within maxWidth. The comparison is
    // unsigned, as the platform's: a negative width lets everything fit.
    int fitting(const uint16_t* chars, int count, int maxWidth) const {
        int total = 0;
        for (int i = 0; i < count; ++i) {
            total += advance_(chars[i]);
            if (static_cast<unsigned>(std::abs(total)) > static_cast<unsigned>(maxWidth)) return i;
        }
        return count;
    }

private:
    const std::function<int(uint16_t)>& advance_;
};

// Shortens a line of `length` characters of which only `fit` fit: back to
// the last break opportunity at or before the first character that does not
// fit, or, with none, to the end of the first word. Returns how many of the
// text's characters the line uses up (a space at the break included).
int breakLine(const uint16_t* line, int& length, int fit, Alignment alignment) {
    const std::vector<bool> soft = softBreaks(std::vector<uint16_t>(line, line + length));
    int p = fit;  // the first character that does not fit
    int i = fit;
    bool wordFits = true;
    if (fit == 0) {
        wordFits = false;
    } else if (soft[static_cast<size_t>(i)]) {
        --p;  // the word before it just fitted
    } else {
        while (i > 0 && !soft[static_cast<size_t>(--i + 1)]) --p;
        --p;
        wordFits = i != 0 || soft[static_cast<size_t>(i + 1)];
    }
    if (wordFits) {
        // p is the last character kept; a space there stays on a left-aligned
        // line and goes for the others.
        if (alignment == Alignment::Left || line[p] != kSpace) ++p;
        const bool nextIsSpace = p < length && line[p] == kSpace;
        length = p;
        return p + (nextIsSpace ? 1 : 0);
    }
    // No break before the end of the first word: the whole word stays on the
    // line, and one space after it is used up.
    p = fit;
    while (p < length && line[p] != kSpace) ++p;
    const int used = p + (p < length ? 1 : 0);
    length = p;
    return used;
}

}  // namespace

std::vector<LaidLine> layOutText(const std::vector<uint16_t>& text, const TextBox& box, Alignment alignment,
                                 int lineHeight, const std::function<int(uint16_t)>& advance) {
    std::vector<LaidLine> lines;
    if (text.empty()) return lines;
    const Measure measure(advance);
    const int width = box.right - box.left;
    const int total = static_cast<int>(text.size());
    int next = 0;  // first character of the next line
    int y = box.top;
    bool more = true;
    bool lastLine = false;
    while (more && !lastLine) {
        lastLine = y + lineHeight > box.bottom;
        // The line runs to the next carriage return or line feed.
        int end = next;
        while (end < total && !endsLine(text[static_cast<size_t>(end)])) ++end;
        const uint16_t* line = text.data() + next;
        int length = std::min(end - next, kLineBuffer);
        const int fit = measure.fitting(line, length, width);
        int consumed = end - next;
        bool broken = false;
        if (fit < length) {
            consumed = breakLine(line, length, fit, alignment);
            broken = true;
        }
        LaidLine laid;
        laid.start = next;
        laid.length = length;
        laid.width = measure.extent(line, length);
        laid.y = y;
        switch (alignment) {
            case Alignment::Centre: laid.x = (box.left + box.right - laid.width) / 2; break;
            case Alignment::Right: laid.x = box.right - laid.width; break;
            default: laid.x = box.left; break;
        }
        lines.push_back(laid);

        int position = next + consumed;
        if (!broken && position < total) {
            // A carriage return and line feed, in either order, end one line.
            const uint16_t first = text[static_cast<size_t>(position)];
            ++position;
            if (position < total && endsLine(text[static_cast<size_t>(position)]) &&
                text[static_cast<size_t>(position)] != first)
                ++position;
        }
        next = position;
        more = next < total;
        y += lineHeight;
    }
    return lines;
}

}  // namespace raster
