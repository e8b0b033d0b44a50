#include "help_topics.h"

#include <cstdio>
#include <optional>

#include "core/tables/color_table.h"
#include "core/tables/font_map.h"
#include "core/tables/pattern_tiles.h"
#include "object_kinds.h"
#include "core/timeline/playback_rules.h"
#include "playback_samples.h"

namespace vxa::tool {
namespace {

std::string format(const char* pattern, int a, int b = 0, int c = 0, int d = 0) {
    std::string text(static_cast<size_t>(std::snprintf(nullptr, 0, pattern, a, b, c, d)), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, a, b, c, d);
    return text;
}

std::string colours() {
    std::string text =
        "Colour indices 0..255 as red, green, blue. 0 is white, 255 black; * marks\n"
        "the 20 colours every display shows exactly. Sources give the index itself.\n\n";
    for (int row = 0; row < 64; ++row) {
        for (int column = 0; column < 4; ++column) {
            const int index = column * 64 + row;
            const uint32_t rgb = rgbForIndex(index);
            text += format("%3d %3d %3d %3d", index, rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
            if (column == 3) {
                text += isPaletteRelative(colorForIndex(index)) ? "\n" : "*\n";
            } else {
                text += isPaletteRelative(colorForIndex(index)) ? "    " : "*   ";
            }
        }
    }
    return text;
}

std::string patterns() {
    std::string text =
        "Pattern numbers for fillPattern and linePattern. 255: none. 0: solid in the\n"
        "second colour (fillColor2, lineColor2). 12: solid in the first (fillColor1,\n"
        "lineColor1). Any other number is an 8 x 8 tile, # in the first colour and .\n"
        "in the second; 65..254 wrap around the 64 (65 is 1). Equal colours: solid.\n"
        "Lines and arcs are never patterned: any pattern but 0 and 255 draws them\n"
        "solid in lineColor1.\n";
    for (int first = 1; first <= 64; first += 8) {
        text += "\n";
        for (int p = first; p < first + 8; ++p) text += format("%-10d", p);
        text += "\n";
        for (int row = 0; row < 8; ++row) {
            for (int p = first; p < first + 8; ++p) {
                for (int bit = 7; bit >= 0; --bit) text += tileForPattern(p)[row] >> bit & 1 ? '#' : '.';
                text += "  ";
            }
            text += "\n";
        }
    }
    return text;
}

std::string kinds() {
    struct KindFields {
        int8_t kind;
        const char* fields;
    };
    static const KindFields kFields[] = {
        {0, "points: [[x, y], ...]; open when its line is solid (0, 12) and fill is 255"},
        {1, "from (left, top) to (right, bottom); colour as for lines (vxa help patterns)"},
        {2, "the oval inside the box"},
        {3, "the box; right and bottom are just outside it"},
        {4, "cornerWidth, cornerHeight: the oval rounding each corner"},
        {5, "startAngle, sweep: degrees clockwise from 12 o'clock; sweep 0 is whole"},
        {6, "a rect, then its text (vxa help text)"},
        {7, "comment: a string players skip"},
    };
    std::string text =
        "Object kinds (\"kind\" in a source, or the number). Every object has left, top,\n"
        "right, bottom (0..255, inside its group), fillPattern, fillColor1, fillColor2,\n"
        "linePattern, lineColor1, lineColor2 and lineWidth. Every field left out is 0:\n"
        "colour 0 is white, and pattern 0 is solid in the second colour of its pair.\n\n";
    for (const KindFields& k : kFields) text += format("%2d  ", k.kind) + *nameOfKind(k.kind) + std::string(11 - nameOfKind(k.kind)->size(), ' ') + k.fields + "\n";
    text +=
        "\nShapes (rect, oval, roundrect): a solid line (0, 12) is drawn inside the box\n"
        "and fill 255 leaves the inside transparent. A patterned line paints the whole\n"
        "shape in the line pattern and the fill lineWidth smaller over it: a ring;\n"
        "with fill 255 the inside is then solid fillColor2. Other kind numbers draw\n"
        "nothing.\n";
    return text;
}

std::string text() {
    std::string out =
        "Text objects (kind 6): textColor, font, size, style, justification, text.\n"
        "The box is drawn first from the common fields (set fillPattern and\n"
        "linePattern to 255 for text alone); the text wraps inside the box grown by\n"
        "lineWidth and is cut off at its edges.\n\nfont (exact)    drawn in\n";
    for (const FontNameRow& row : fontNameRows()) {
        out += std::string("  \"") + row.streamName + "\"" + std::string(13 - std::string(row.streamName).size(), ' ') +
               row.faceName + "\n";
    }
    out += std::string("  anything else  ") + kFallbackFaceName + "\n\nTimes is enlarged:";
    for (int size = 1; size < 256; ++size) {
        const int mapped = mapFontName("Times", size).size;
        if (mapped != size) out += format(" %d -> %d", size, mapped);
    }
    out += format(
        "\nsize: characters are size + %d pixels high.\n"
        "style: add 1 bold, 2 italic, 4 underlined.\n"
        "justification: 0 left, 1 centred, -1 right; anything else left.\n"
        "A carriage return (\"\\r\") starts a new line; lines also break between words.\n",
        emHeightForSize(0));
    return out;
}

std::string playbackTopic() {
    std::string text = format(
        "A frame is due every 1000 / frameRate ms (whole ms). The player looks every\n"
        "%d ms and shows at most one frame each time, so rates are rounded up to\n"
        "whole %d-ms steps. frameRate 0 plays at one frame a second.\n\n"
        "frameRate  frames shown in the first second\n",
        static_cast<int>(playback::kTimerPeriod), static_cast<int>(playback::kTimerPeriod));
    for (int rate : {0, 5, 10, 12, 15, 20, 24, 25, 30, 50, 60, 100}) text += format("%9d  %d\n", rate, static_cast<int>(frameTimes(rate, 1000).size()));
    text += format(
        "\nA looping movie goes on with frame %d after its last frame; one of %d frames\n"
        "or fewer ends instead. waitForClick holds once, on frame %d, until a click.\n"
        "A click before that hold counts as its click; any other click pauses, the\n"
        "next resumes; ESC stops.\n\n",
        playback::kHoldAfterFrame + 1, playback::kHoldAfterFrame, playback::kHoldAfterFrame + 1);
    text += "loop, 8 frames:          " + frameOrder(8, true, false) + "\n";
    text += "loop, 5 frames:          " + frameOrder(5, true, false) + "\n";
    text += "waitForClick, 9 frames:  " + frameOrder(9, false, true) + "\n";
    text += "waitForClick, 5 frames:  " + frameOrder(5, false, true) + "\n";
    return text;
}

const char kSounds[] =
    "A frame's \"sound\": N plays the file N.WAV from the folder PROGRAM\\PLUGINS\\VXA_WAV\\\n"
    "of the browser's installation folder (vxaplay --install-dir DIR sets it; make\n"
    "play uses a \"sounds\" folder beside the movie). One sound plays at a time.\n"
    "When a frame shows:\n"
    "  sound N, another sound playing      that one stops, N starts\n"
    "  sound N, N playing                  N plays on\n"
    "  sound N, N has ended                N starts again\n"
    "  sound 0, the frame before started   the sound plays on\n"
    "           N or let it play on\n"
    "  sound 0, otherwise                  the sound stops\n"
    "So a sound named on one frame plays on through the frames after it with no\n"
    "sound, as long as they show one after the other; a loop back, a frame\n"
    "waiting for a group, or the window drawn again stops it.\n";

}  // namespace

const std::vector<HelpTopic>& helpTopics() {
    static const std::vector<HelpTopic> topics = {
        {"colours", "the 256 colour indices"},
        {"patterns", "pattern numbers and the 64 tiles"},
        {"kinds", "object kinds and their fields"},
        {"text", "fonts, sizes, styles, justification"},
        {"playback", "frame rates, loops, waiting for a click"},
        {"sounds", "sound numbers, the folder, when a sound starts and stops"},
    };
    return topics;
}

std::optional<std::string> helpTopicText(const std::string& name) {
    if (name == "colours" || name == "colors") return colours();
    if (name == "patterns") return patterns();
    if (name == "kinds") return kinds();
    if (name == "text") return text();
    if (name == "playback") return playbackTopic();
    if (name == "sounds") return std::string(kSounds);
    return std::nullopt;
}

}  // namespace vxa::tool
