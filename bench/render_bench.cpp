// The portable renderer's cost for the frame compose_bench composes through
// GDI (bench_scene.h): 640 x 480, 500 mixed objects, drawn natively. scripts/
// bench sets it against the GDI composition measured in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "bench_scene.h"
#include "core/raster/renderer.h"

using namespace bench_scene;

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    raster::FontLibrary fonts;
    for (const std::string& name : raster::FontLibrary::neededFiles()) {
        fonts.addFile(name, readFile("/usr/share/fonts/truetype/liberation/" + name));
    }
    raster::GroupTable groups(kColumns * kRows);
    FrameRecord frame;
    int seed = 0;
    for (int g = 0; g < kColumns * kRows; ++g) {
        vxa::GroupRecord record;
        record.id = static_cast<int16_t>(g + 1);
        for (int8_t kind : kMix) record.objects.push_back(objectRecord(kind, ++seed));
        groups.put(record);
        frame.items.push_back({static_cast<int16_t>(g + 1), static_cast<int16_t>(g % kColumns * kGroupWidth),
                               static_cast<int16_t>(g / kColumns * kGroupHeight)});
    }
    raster::Image picture(kWidth, kHeight);
    for (int i = 0; i < 3; ++i) raster::composeFrame(picture, frame, kBackgroundIndex, groups, fonts);

    // Medians of several rounds, as compose_bench takes them.
    constexpr int kRounds = 7;
    constexpr int kFramesPerRound = 20;
    std::vector<double> renderMs;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kFramesPerRound; ++i) raster::composeFrame(picture, frame, kBackgroundIndex, groups, fonts);
        renderMs.push_back(millisecondsSince(start) / kFramesPerRound);
    }
    std::sort(renderMs.begin(), renderMs.end());
    std::printf("render one %d x %d frame of %d objects: %.3f ms (median of %d rounds of %d frames)\n", kWidth,
                kHeight, kObjects, renderMs[kRounds / 2], kRounds, kFramesPerRound);
    return 0;
}
