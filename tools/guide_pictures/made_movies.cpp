#include "made_movies.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/tables/color_table.h"
#include "movie_picture.h"
#include "core/timeline/playback_rules.h"
#include "playback_samples.h"

namespace guide {
namespace {

using vxa::tool::Json;

constexpr int kBlack = 255;
constexpr int kWhite = 0;
constexpr int kGrey = 43;

// A text object: the labels of every picture are drawn by the renderer
// itself, in the font an author would pick for plain text.
// Coordinates in a group stop at 255: a shape reaching a group's right or
// bottom edge ends a pixel short there.
int edge(int coordinate) { return std::min(coordinate, 255); }

Json label(int left, int top, int right, int bottom, const std::string& text, int size = 9, int colour = kBlack,
           int justification = 0) {
    right = edge(right);
    bottom = edge(bottom);
    return {{"kind", "text"},      {"left", left},       {"top", top},       {"right", right},
            {"bottom", bottom},    {"fillPattern", 255}, {"linePattern", 255}, {"textColor", colour},
            {"size", size},        {"justification", justification},           {"font", "Heltvetica"},
            {"text", text}};
}

Json box(int left, int top, int right, int bottom, int fill) {
    right = edge(right);
    bottom = edge(bottom);
    return {{"kind", "rect"}, {"left", left}, {"top", top}, {"right", right}, {"bottom", bottom},
            {"fillPattern", 0}, {"fillColor2", fill}, {"linePattern", 255}};
}

Json group(int id, int width, int height, Json objects) {
    return {{"id", id}, {"width", width}, {"height", height}, {"objects", std::move(objects)}};
}

Json item(int groupId, int x, int y) { return {{"group", groupId}, {"x", x}, {"y", y}}; }

// One frame placing every group of `groups` as `items` say.
Json oneFrameMovie(int width, int height, Json groups, Json items) {
    const int groupCount = static_cast<int>(groups.size());
    return {{"header", {{"width", width}, {"height", height}, {"frameRate", 1},
                        {"groupCount", groupCount}, {"frameCount", 1}}},
            {"blocks", Json::array({{{"frame", {{"number", 1}, {"items", std::move(items)}}},
                                     {"groups", std::move(groups)}}})}};
}

// Light colours get black numbers, dark ones white.
int labelColourOn(int index) {
    const uint32_t rgb = rgbForIndex(index);
    const int r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    return 299 * r + 587 * g + 114 * b > 128000 ? kBlack : kWhite;
}

// ---- the playback chart ----

constexpr uint32_t kSpan = 1000;  // ms of playback shown per rate
constexpr int kMsPerPixel = 2;
constexpr int kChartLeft = 120;
constexpr int kRowHeight = 22;
constexpr int kRulerHeight = 26;

// A strip of the chart: the frame times of one rate that fall in
// [from, from + 256 * kMsPerPixel) as 2-pixel marks.
Json timeMarks(const std::vector<uint32_t>& times, uint32_t from) {
    Json marks = Json::array();
    for (uint32_t t : times) {
        if (t < from || t >= from + 250 * kMsPerPixel) continue;
        const int x = static_cast<int>(t - from) / kMsPerPixel;
        marks.push_back(box(x, 3, x + 4, kRowHeight - 3, 35));
    }
    return marks;
}

}  // namespace

Json colourSwatchMovie() {
    // 16 rows of 16; a group holds half a row, since a group is at most 256
    // pixels wide.
    constexpr int kCellWidth = 32, kCellHeight = 20, kHalf = 8;
    Json groups = Json::array();
    Json items = Json::array();
    for (int half = 0; half < 32; ++half) {
        Json objects = Json::array();
        for (int column = 0; column < kHalf; ++column) {
            const int index = half * kHalf + column;
            const int left = column * kCellWidth;
            objects.push_back(box(left, 0, left + kCellWidth, kCellHeight, index));
            objects.push_back(label(left, 3, left + kCellWidth, kCellHeight, std::to_string(index), 9,
                                    labelColourOn(index), 1));
        }
        groups.push_back(group(half + 1, kHalf * kCellWidth, kCellHeight, objects));
        items.push_back(item(half + 1, (half % 2) * kHalf * kCellWidth, (half / 2) * kCellHeight));
    }
    return oneFrameMovie(16 * kCellWidth, 16 * kCellHeight, groups, items);
}

Json patternSheetMovie() {
    // Each pattern in black (fillColor1) on white (fillColor2), its number
    // above it; four to a group.
    constexpr int kCellWidth = 60, kCellHeight = 52, kPerGroup = 4;
    Json groups = Json::array();
    Json items = Json::array();
    for (int g = 0; g < 64 / kPerGroup; ++g) {
        Json objects = Json::array();
        for (int column = 0; column < kPerGroup; ++column) {
            const int pattern = g * kPerGroup + column + 1;
            const int left = column * kCellWidth;
            objects.push_back(label(left, 2, left + kCellWidth - 8, 16, std::to_string(pattern), 9, kBlack, 1));
            objects.push_back({{"kind", "rect"},      {"left", left + 6},  {"top", 18},
                               {"right", left + 46},  {"bottom", 48},      {"fillPattern", pattern},
                               {"fillColor1", kBlack}, {"fillColor2", kWhite}, {"linePattern", 12},
                               {"lineColor1", kGrey}, {"lineWidth", 1}});
        }
        groups.push_back(group(g + 1, kPerGroup * kCellWidth, kCellHeight, objects));
        items.push_back(item(g + 1, 8 + (g % 2) * kPerGroup * kCellWidth, 4 + (g / 2) * kCellHeight));
    }
    return oneFrameMovie(2 * kPerGroup * kCellWidth + 16, 8 * kCellHeight + 8, groups, items);
}

Json playbackChartMovie() {
    const std::vector<int> rates = {0, 5, 10, 12, 24, 30, 50, 100};
    const int chartWidth = static_cast<int>(kSpan) / kMsPerPixel;
    const int width = kChartLeft + chartWidth + 90;
    Json groups = Json::array();
    Json items = Json::array();
    auto add = [&](int w, int h, Json objects, int x, int y) {
        const int id = static_cast<int>(groups.size()) + 1;
        groups.push_back(group(id, w, h, std::move(objects)));
        items.push_back(item(id, x, y));
    };

    // The ruler: a line every timer message (20 ms), numbers every 100 ms.
    const int chartHeight = static_cast<int>(rates.size()) * kRowHeight;
    for (int half = 0; half < 2; ++half) {
        Json ticks = Json::array();
        for (int ms = 0; ms < 500; ms += static_cast<int>(playback::kTimerPeriod)) {
            const int x = ms / kMsPerPixel;
            ticks.push_back(box(x, 0, x + 2, chartHeight, ms % 100 == 0 ? 247 : 246));
        }
        add(250, chartHeight, ticks, kChartLeft + half * 250, kRulerHeight);
        Json numbers = Json::array();
        for (int ms = 0; ms < 500; ms += 100)
            numbers.push_back(label(ms / kMsPerPixel, 0, ms / kMsPerPixel + 60, 14,
                                    std::to_string(half * 500 + ms) + (half + ms == 0 ? " ms" : "")));
        add(250, 14, numbers, kChartLeft + half * 250, 8);
    }
    add(120, 14, Json::array({label(0, 0, 116, 14, "frame rate", 9, kBlack, -1)}), 0, 8);
    add(90, 14, Json::array({label(4, 0, 90, 14, "shown in 1 s")}), kChartLeft + chartWidth, 8);

    for (size_t row = 0; row < rates.size(); ++row) {
        const int rate = rates[row];
        const std::vector<uint32_t> times = vxa::tool::frameTimes(rate, kSpan);
        const int y = kRulerHeight + static_cast<int>(row) * kRowHeight;
        add(120, kRowHeight, Json::array({label(0, 4, 112, kRowHeight, std::to_string(rate), 9, kBlack, -1)}), 0, y);
        add(250, kRowHeight, timeMarks(times, 0), kChartLeft, y);
        add(250, kRowHeight, timeMarks(times, 500), kChartLeft + 250, y);
        add(90, kRowHeight, Json::array({label(8, 4, 90, kRowHeight, std::to_string(times.size()))}),
            kChartLeft + chartWidth, y);
    }

    // The order of frames for a loop, a short loop and a hold.
    struct Order {
        const char* what;
        int frames;
        bool loop;
        bool waitForClick;
    };
    const Order orders[] = {{"loop, 8 frames", 8, true, false},
                            {"loop, 5 frames", 5, true, false},
                            {"wait for a click, 9 frames", 9, false, true},
                            {"wait for a click, 5 frames", 5, false, true}};
    int y = kRulerHeight + chartHeight + 12;
    for (const Order& order : orders) {
        add(250, 18, Json::array({label(0, 2, 240, 18, order.what, 9)}), 8, y);
        add(256, 18, Json::array({label(0, 2, 255, 18, vxa::tool::frameOrder(order.frames, order.loop, order.waitForClick), 9)}),
            kChartLeft + 60, y);
        y += 18;
    }
    return oneFrameMovie(width, y + 8, groups, items);
}

}  // namespace guide
