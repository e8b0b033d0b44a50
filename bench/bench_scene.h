#pragma once
// The frame both composition benchmarks draw: 640 x 480, 25 groups of 20
// mixed graphic objects (every kind, patterned fills and lines, text) in a
// 5 x 5 grid. The plug-in's GDI composition (compose_bench, under Wine) and
// the portable renderer (render_bench, native) draw the very same records.
#include <cstdint>

#include "core/format/block.h"

namespace bench_scene {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kColumns = 5;
constexpr int kRows = 5;
constexpr int kObjectsPerGroup = 20;
constexpr int kObjects = kColumns * kRows * kObjectsPerGroup;
constexpr int kGroupWidth = 128;
constexpr int kGroupHeight = 96;
constexpr int kBackgroundIndex = 43;

// Kinds in the mix of one group: three of each but two arcs.
constexpr int8_t kMix[kObjectsPerGroup] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 6, 6, 6};

inline vxa::ObjectRecord objectRecord(int8_t kind, int seed) {
    vxa::ObjectRecord r;
    r.kind = kind;
    r.left = static_cast<uint8_t>(seed * 7 % 40);
    r.top = static_cast<uint8_t>(seed * 5 % 30);
    r.right = static_cast<uint8_t>(r.left + 40 + seed % 50);
    r.bottom = static_cast<uint8_t>(r.top + 30 + seed % 40);
    r.fill1 = static_cast<uint8_t>(1 + seed * 37);
    r.fill2 = static_cast<uint8_t>(1 + seed * 11);
    r.line1 = static_cast<uint8_t>(1 + seed * 13);
    r.line2 = static_cast<uint8_t>(1 + seed * 29);
    // A third of the fills solid, the rest patterned; lines solid, patterned
    // (drawn as rings and region frames) or absent.
    r.fillPattern = static_cast<uint8_t>(seed % 3 == 0 ? 12 : 1 + seed % 64);
    const uint8_t linePatterns[] = {12, 0, 5, 22, 255};
    r.linePattern = linePatterns[seed % 5];
    r.lineWidth = static_cast<uint8_t>(1 + seed % 4);
    switch (kind) {
        case vxa::ObjectKind::Polygon:
            for (int i = 0; i < 6; ++i) {
                r.points.push_back({static_cast<uint8_t>(r.left + (i * 17 + seed) % 60),
                                    static_cast<uint8_t>(r.top + (i * 23 + seed) % 50)});
            }
            break;
        case vxa::ObjectKind::RoundRect:
            r.cornerWidth = 12;
            r.cornerHeight = 8;
            break;
        case vxa::ObjectKind::Arc:
            r.startAngle = static_cast<int16_t>(seed * 30 % 360);
            r.sweep = static_cast<int16_t>(60 + seed * 45 % 270);
            break;
        case vxa::ObjectKind::Text: {
            const char* fonts[] = {"Times", "Geneva", "Courier", "Heltvetica"};
            r.fontName = fonts[seed % 4];
            r.size = static_cast<uint8_t>(9 + seed % 4 * 3);
            r.style = static_cast<uint8_t>(seed % 8);
            r.justification = static_cast<int8_t>(seed % 3 - 1);
            r.textColor = static_cast<uint8_t>(1 + seed * 3);
            r.text = "Frame caption\rsecond line of words";
            break;
        }
        default:
            break;
    }
    return r;
}

}  // namespace bench_scene
