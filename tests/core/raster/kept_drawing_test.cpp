// What the renderer keeps between frames (recorded shapes, glyphs, laid-out
// texts, the picture last composed) must never change a pixel: drawn without
// what is kept, or with caches bound to let go all the time, a frame comes
// out the same, and a frame is composed again whenever anything it shows
// changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/format/block_encoder.h"
#include "core/format/stream.h"
#include "core/raster/frame_composer.h"
#include "core/raster/renderer.h"
#include "core/tables/color_table.h"

namespace {

std::vector<uint8_t> fontBytes(const std::string& name) {
    std::ifstream in("/usr/share/fonts/truetype/liberation/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void addAllFonts(raster::FontLibrary& fonts) {
    for (const std::string& name : raster::FontLibrary::neededFiles()) fonts.addFile(name, fontBytes(name));
}

// Objects of every kind: solid, patterned and missing fills and lines, pens
// up to 12 pixels, corner ellipses narrow enough to leave unsettled rows,
// texts in sizes drawn one-bit and antialiased.
vxa::GroupRecord mixedGroup(int id, int seed) {
    vxa::GroupRecord group;
    group.id = static_cast<int16_t>(id);
    uint32_t state = static_cast<uint32_t>(seed) * 2654435761u + 1;
    auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(range));
    };
    const uint8_t patterns[] = {12, 0, 255, 5, 22, 40, 63};
    for (int i = 0; i < 28; ++i) {
        vxa::ObjectRecord r;
        r.kind = static_cast<int8_t>(i % 7);
        r.left = static_cast<uint8_t>(next(50));
        r.top = static_cast<uint8_t>(next(40));
        r.right = static_cast<uint8_t>(r.left + 3 + next(60));
        r.bottom = static_cast<uint8_t>(r.top + 3 + next(50));
        r.fill1 = static_cast<uint8_t>(1 + next(255));
        r.fill2 = static_cast<uint8_t>(1 + next(255));
        r.line1 = static_cast<uint8_t>(1 + next(255));
        r.line2 = static_cast<uint8_t>(1 + next(255));
        r.fillPattern = patterns[next(7)];
        r.linePattern = patterns[next(7)];
        r.lineWidth = static_cast<uint8_t>(next(13));
        for (int p = 0; p < 3 + next(5); ++p) {
            r.points.push_back({static_cast<uint8_t>(next(90)), static_cast<uint8_t>(next(70))});
        }
        r.cornerWidth = static_cast<int16_t>(next(3) == 0 ? 3 : next(40));
        r.cornerHeight = static_cast<int16_t>(next(40) + 10);
        r.startAngle = static_cast<int16_t>(next(360));
        r.sweep = static_cast<int16_t>(next(500) - 100);
        r.fontName = next(2) ? "Times" : "Courier";
        r.size = static_cast<uint8_t>(6 + next(20));
        r.style = static_cast<uint8_t>(next(8));
        r.textColor = static_cast<uint8_t>(1 + next(255));
        r.text = "Kept glyphs\rand lines";
        group.objects.push_back(r);
    }
    return group;
}

TEST(KeptDrawing, AFrameDrawsTheSameWithoutWhatIsKept) {
    constexpr int kGroups = 6;
    FrameRecord frame;
    // Placed partly outside the picture on every side, and over each other.
    const int16_t places[kGroups][2] = {{-30, -20}, {40, 10}, {130, -25}, {-20, 90}, {100, 80}, {60, 40}};
    for (int g = 0; g < kGroups; ++g) frame.items.push_back({static_cast<int16_t>(g + 1), places[g][0], places[g][1]});
    struct Drawn {
        raster::Image picture{160, 120};
        raster::ComposeReport report;
    };
    auto draw = [&](size_t keptSpans, size_t glyphBytes) {
        raster::GroupTable groups(kGroups, keptSpans);
        for (int g = 0; g < kGroups; ++g) groups.put(mixedGroup(g + 1, g));
        raster::FontLibrary fonts(glyphBytes);
        addAllFonts(fonts);
        Drawn drawn;
        // Twice: the second frame draws from what the first one kept.
        for (int i = 0; i < 2; ++i) raster::composeFrame(drawn.picture, frame, 43, groups, fonts, &drawn.report);
        return drawn;
    };
    const Drawn kept = draw(raster::GroupTable::kKeptSpans, raster::FontLibrary::kGlyphBytes);
    const raster::Image blank(160, 120, kept.picture.pixels[0]);
    ASSERT_NE(blank.pixels, kept.picture.pixels);
    ASSERT_FALSE(kept.report.unsettled.empty());

    struct Case {
        const char* what;
        size_t keptSpans, glyphBytes;
    } cases[] = {
        {"no shape kept: each drawn shape by shape", 0, raster::FontLibrary::kGlyphBytes},
        {"room for a few shapes only", 2000, raster::FontLibrary::kGlyphBytes},
        {"every glyph lets all the others go", raster::GroupTable::kKeptSpans, 1},
    };
    for (const Case& c : cases) {
        const Drawn drawn = draw(c.keptSpans, c.glyphBytes);
        EXPECT_EQ(kept.picture.pixels, drawn.picture.pixels) << c.what;
        ASSERT_EQ(kept.report.unsettled.size(), drawn.report.unsettled.size()) << c.what;
        for (size_t i = 0; i < kept.report.unsettled.size(); ++i) {
            EXPECT_EQ(kept.report.unsettled[i].top, drawn.report.unsettled[i].top) << c.what;
            EXPECT_EQ(kept.report.unsettled[i].bottom, drawn.report.unsettled[i].bottom) << c.what;
        }
    }
}

vxa::Block groupBlock(int16_t id, std::vector<vxa::ObjectRecord> objects) {
    vxa::Block block;
    vxa::GroupRecord group;
    group.id = id;
    group.widthMinus1 = 31;
    group.heightMinus1 = 31;
    group.objects = std::move(objects);
    block.groups.push_back(group);
    return block;
}

vxa::ObjectRecord square(int colorIndex) {
    vxa::ObjectRecord rect;
    rect.kind = vxa::ObjectKind::Rect;
    rect.right = rect.bottom = 11;
    rect.fill1 = static_cast<uint8_t>(colorIndex + 1);
    rect.fillPattern = 12;
    rect.linePattern = 255;
    return rect;
}

vxa::Block frameBlock(int16_t number, std::vector<std::pair<int16_t, int16_t>> placements) {
    vxa::Block block;
    block.frame.number = number;
    for (const auto& [group, x] : placements) {
        vxa::Item item;
        item.groupId = group;
        item.x = x;
        block.frame.items.push_back(item);
    }
    return block;
}

TEST(FrameComposer, AFrameIsComposedAgainWheneverWhatItShowsChanged) {
    vxa::ObjectRecord text;
    text.kind = vxa::ObjectKind::Text;
    text.left = 12;
    text.right = 60;
    text.bottom = 20;
    text.fillPattern = text.linePattern = 255;
    text.size = 12;
    text.fontName = "Geneva";
    text.text = "Hello";
    vxa::Header header;
    header.layout = vxa::Layout::Wide;
    header.version = vxa::kFirstWideVersion;
    header.width = 64;
    header.height = 24;
    header.frameRate = 10;
    header.groupCount = 3;
    header.frameCount = 3;
    header.background = 1;  // white
    const std::vector<uint8_t> start = vxa::encodeStream(vxa::Stream{
        header, {groupBlock(1, {square(35)}), groupBlock(2, {text}), frameBlock(1, {{1, 0}, {2, 0}}),
                 frameBlock(2, {{1, 0}, {2, 0}}), frameBlock(3, {{1, 0}, {3, 0}})}});
    vxa::MovieModel movie;
    movie.append(start.data(), start.size());
    raster::FontLibrary fonts;
    raster::FrameComposer composer(header.width, header.height, header.groupCount);
    const uint32_t white = rgbForIndex(0), red = rgbForIndex(35), blue = rgbForIndex(210);
    auto ink = [&] {
        return std::count_if(composer.picture().pixels.begin(), composer.picture().pixels.end(),
                             [&](uint32_t p) { return p != white && p != composer.picture().at(2, 2); });
    };
    auto arrive = [&](const vxa::Block& block) {
        std::vector<uint8_t> bytes;
        vxa::encodeBlock(block, vxa::Layout::Wide, bytes);
        movie.append(bytes.data(), bytes.size());
    };

    struct Step {
        const char* what;
        std::function<void()> change;
        int16_t frame;
        bool whole;
        uint32_t square;
        bool text;
    } steps[] = {
        {"the first frame, its text's font not given", [] {}, 1, true, red, false},
        {"the same frame again", [] {}, 1, true, red, false},
        {"another frame of the same placements", [] {}, 2, true, red, false},
        {"its square's group arrived anew", [&] { arrive(groupBlock(1, {square(210)})); }, 2, true, blue, false},
        {"the font file given", [&] { fonts.addFile("LiberationSans-Regular.ttf", fontBytes("LiberationSans-Regular.ttf")); },
         2, true, blue, true},
        {"a frame whose group has not arrived", [] {}, 3, false, blue, false},
        {"the same frame once the group arrived", [&] { arrive(groupBlock(3, {square(35)})); }, 3, true, red, false},
    };
    for (const Step& step : steps) {
        step.change();
        raster::ComposeReport report;
        EXPECT_EQ(step.whole, composer.compose(movie, step.frame, fonts, &report)) << step.what;
        EXPECT_EQ(step.square, composer.picture().at(2, 2)) << step.what;
        EXPECT_EQ(step.text, ink() > 10) << step.what;
    }
}

}  // namespace
