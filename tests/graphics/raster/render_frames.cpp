// Renders every frame of a movie with the portable renderer, as the plug-in
// shows it when the whole stream has arrived: OUT/NNNNN.png for frame N.
//
//   render_frames MOVIE.vxa OUT [FIRST LAST]
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/raster/renderer.h"
#include "graphics/tables/font_map.h"
#include "movie/format/range_check.h"
#include "movie/format/stream.h"

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writePng(const std::string& path, const raster::Image& image) {
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (uint32_t p : image.pixels) {
        rgb.push_back(static_cast<uint8_t>(p >> 16));
        rgb.push_back(static_cast<uint8_t>(p >> 8));
        rgb.push_back(static_cast<uint8_t>(p));
    }
    return stbi_write_png(path.c_str(), image.width, image.height, 3, rgb.data(), image.width * 3) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: render_frames MOVIE.vxa OUT [FIRST LAST]\n");
        return 2;
    }
    vxa::Stream stream;
    std::string error;
    if (!vxa::decodeStream(readFile(argv[1]), stream, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const vxa::Header& header = stream.header;
    raster::FontLibrary fonts;
    for (const std::string& name : raster::FontLibrary::neededFiles()) {
        fonts.addFile(name, readFile("/usr/share/fonts/truetype/liberation/" + name));
    }

    // The tables as the plug-in holds them once every block is in: a block
    // with a number outside them is refused whole; a repeated item copies
    // the previous frame's item at its index as it stood when the block came.
    raster::GroupTable groups(header.groupCount);
    std::vector<std::vector<raster::Placement>> frames(header.frameCount > 0 ? header.frameCount : 0);
    std::vector<bool> arrived(frames.size(), false);
    for (const vxa::Block& block : stream.blocks) {
        if (!vxa::checkRanges(block, header.frameCount, header.groupCount).empty()) continue;
        for (const vxa::GroupRecord& group : block.groups) groups.put(group);
        const int number = block.frame.number;
        if (number == 0) continue;
        std::vector<raster::Placement> items;
        const std::vector<raster::Placement>* previous =
            number >= 2 && arrived[number - 2] ? &frames[number - 2] : nullptr;
        for (size_t i = 0; i < block.frame.items.size(); ++i) {
            const vxa::Item& item = block.frame.items[i];
            if (item.presence != 0) {
                items.push_back({item.groupId, item.x, item.y});
            } else if (previous && i < previous->size()) {
                items.push_back((*previous)[i]);
            } else {
                items.push_back({0, 0, 0});
            }
        }
        frames[number - 1] = std::move(items);
        arrived[number - 1] = true;
    }

    int first = 1, last = static_cast<int>(frames.size());
    if (argc == 5) {
        first = std::stoi(argv[3]);
        last = std::min(last, std::stoi(argv[4]));
    }
    for (int n = first; n <= last; ++n) {
        if (!arrived[n - 1]) continue;
        raster::Image picture(header.width, header.height);
        raster::FrameContent frame;
        frame.backgroundIndex = static_cast<uint8_t>(header.background - 1);
        frame.items = frames[n - 1];
        raster::composeFrame(picture, frame, groups, fonts);
        char name[32];
        std::snprintf(name, sizeof name, "/%05d.png", n);
        if (!writePng(argv[2] + std::string(name), picture)) return 1;
    }
    return 0;
}
