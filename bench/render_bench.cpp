// The portable renderer's cost, natively: the frame compose_bench composes
// through GDI (bench_scene.h: 640 x 480, 500 mixed objects), as a whole and
// kind by kind, and the showcase's frames composed one after another as a
// player composes them. scripts/bench sets the whole frame against the GDI
// composition measured in the same run.
//
//   render_bench [--picture FILE]   FILE: the bench frame's 0x00RRGGBB pixels
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "bench_scene.h"
#include "core/model/movie_model.h"
#include "core/raster/frame_composer.h"
#include "core/raster/renderer.h"

using namespace bench_scene;

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Milliseconds per call of `step`: the median of several rounds, as
// compose_bench takes them.
double medianMs(int callsPerRound, const std::function<void()>& step) {
    constexpr int kRounds = 7;
    for (int i = 0; i < 3; ++i) step();
    std::vector<double> ms;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < callsPerRound; ++i) step();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
                     callsPerRound);
    }
    std::sort(ms.begin(), ms.end());
    return ms[kRounds / 2];
}

// The bench frame's groups, with only the objects of one kind (all kinds
// for -1).
raster::GroupTable benchGroups(int kind) {
    raster::GroupTable groups(kColumns * kRows);
    int seed = 0;
    for (int g = 0; g < kColumns * kRows; ++g) {
        vxa::GroupRecord record;
        record.id = static_cast<int16_t>(g + 1);
        for (int8_t k : kMix) {
            const vxa::ObjectRecord object = objectRecord(k, ++seed);
            if (kind < 0 || k == kind) record.objects.push_back(object);
        }
        groups.put(record);
    }
    return groups;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string picturePath = argc == 3 && std::strcmp(argv[1], "--picture") == 0 ? argv[2] : "";
    raster::FontLibrary fonts;
    for (const std::string& name : raster::FontLibrary::neededFiles()) {
        fonts.addFile(name, readFile("/usr/share/fonts/truetype/liberation/" + name));
    }
    FrameRecord frame;
    for (int g = 0; g < kColumns * kRows; ++g) {
        frame.items.push_back({static_cast<int16_t>(g + 1), static_cast<int16_t>(g % kColumns * kGroupWidth),
                               static_cast<int16_t>(g / kColumns * kGroupHeight)});
    }
    raster::Image picture(kWidth, kHeight);
    constexpr int kFramesPerRound = 20;
    raster::GroupTable all = benchGroups(-1);
    const double wholeMs = medianMs(kFramesPerRound, [&] {
        raster::composeFrame(picture, frame, kBackgroundIndex, all, fonts);
    });
    std::printf("render one %d x %d frame of %d objects: %.3f ms (median of 7 rounds of %d frames)\n", kWidth,
                kHeight, kObjects, wholeMs, kFramesPerRound);
    if (!picturePath.empty()) {
        std::ofstream out(picturePath, std::ios::binary);
        out.write(reinterpret_cast<const char*>(picture.pixels.data()),
                  static_cast<std::streamsize>(picture.pixels.size() * sizeof(uint32_t)));
    }

    // Kind by kind: the frame with only that kind's objects, less the
    // background every frame paints.
    const FrameRecord empty;
    raster::GroupTable none(0);
    const double backgroundMs = medianMs(kFramesPerRound, [&] {
        raster::composeFrame(picture, empty, kBackgroundIndex, none, fonts);
    });
    const char* names[] = {"polygon", "line", "oval", "rect", "roundrect", "arc", "text"};
    std::string kinds;
    for (int kind = 0; kind <= vxa::ObjectKind::Text; ++kind) {
        raster::GroupTable groups = benchGroups(kind);
        const double ms = medianMs(kFramesPerRound, [&] {
            raster::composeFrame(picture, frame, kBackgroundIndex, groups, fonts);
        });
        char figure[64];
        std::snprintf(figure, sizeof figure, "%s%s %.3f", kinds.empty() ? "" : ", ", names[kind],
                      std::max(0.0, ms - backgroundMs));
        kinds += figure;
    }
    std::printf("render 500 objects by kind, ms a frame: %s; background %.3f\n", kinds.c_str(), backgroundMs);

    // The showcase: every frame in turn, as a player steps through them.
    const std::vector<uint8_t> movie = readFile(ZURED16_SHOWCASE);
    vxa::MovieModel model;
    model.append(movie.data(), movie.size());
    const vxa::Header& header = model.header();
    raster::FrameComposer composer(header.width, header.height, model.groupCount());
    int16_t next = 0;
    const double showcaseMs = medianMs(200, [&] {
        next = static_cast<int16_t>(next % model.frameCount() + 1);
        composer.compose(model, next, fonts);
    });
    std::printf("render showcase: %.0f frames/s (%d x %d, its %d frames in turn, median of 7 rounds of 200; budget 3000)\n",
                1000.0 / showcaseMs, header.width, header.height, model.frameCount());
    return 0;
}
