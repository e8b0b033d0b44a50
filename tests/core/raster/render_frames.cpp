// Renders every frame of a movie with the portable renderer, as the plug-in
// shows it when the whole stream has arrived: OUT/NNNNN.png for frame N, and
// OUT/bands.txt with a line "unsettled N top bottom" for every band of rows
// where the plug-in under Wine paints from memory it never set, and a line
// "text N top bottom" for the rows a text of frame N may ink (its box, and
// below it room for a last line and its underline).
//
//   render_frames [--no-text] MOVIE.vxa OUT
//
// --no-text leaves the texts out (their boxes stay): the comparison finds
// the text's ink by what the text adds.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/model/movie_model.h"
#include "core/raster/frame_composer.h"
#include "core/raster/renderer.h"
#include "core/tables/font_map.h"
#include "core/tables/object_header.h"

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writePng(const std::string& path, const raster::Image& image) {
    const std::vector<uint8_t> rgb = image.rgbBytes();
    return stbi_write_png(path.c_str(), image.width, image.height, 3, rgb.data(), image.width * 3) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool noText = argc == 4 && std::string(argv[1]) == "--no-text";
    if (argc != 3 && !noText) {
        std::fprintf(stderr, "usage: render_frames [--no-text] MOVIE.vxa OUT\n");
        return 2;
    }
    const std::string movie = argv[argc - 2];
    const std::string out = argv[argc - 1];
    // The tables as the plug-in holds them once the whole stream is in.
    const std::vector<uint8_t> bytes = readFile(movie);
    vxa::MovieModel model;
    model.append(bytes.data(), bytes.size());
    if (!model.headerComplete()) {
        std::fprintf(stderr, "%s: no whole header\n", movie.c_str());
        return 1;
    }
    const vxa::Header& header = model.header();
    raster::FontLibrary fonts;
    for (const std::string& name : raster::FontLibrary::neededFiles()) {
        fonts.addFile(name, readFile("/usr/share/fonts/truetype/liberation/" + name));
    }
    raster::GroupTable groups(model.groupCount());
    for (int id = 1; id <= model.groupCount(); ++id) {
        const std::shared_ptr<const vxa::GroupRecord> record = model.group(id);
        if (!record) continue;
        vxa::GroupRecord group = *record;
        for (vxa::ObjectRecord& object : group.objects) {
            if (noText) object.text.clear();
        }
        groups.put(group);
    }

    std::FILE* bands = std::fopen((out + "/bands.txt").c_str(), "w");
    if (!bands) return 1;
    for (int n = 1; n <= model.frameCount(); ++n) {
        const FrameRecord* record = model.frame(n);
        if (!record) continue;
        raster::Image picture(header.width, header.height);
        raster::ComposeReport report;
        raster::composeFrame(picture, *record, raster::backgroundIndexOf(header), groups, fonts, &report);
        for (const raster::Rect& band : report.unsettled) {
            std::fprintf(bands, "unsettled %d %d %d\n", n, band.top, band.bottom);
        }
        for (const FrameItem& item : record->items) {
            const std::shared_ptr<const vxa::GroupRecord> group = model.group(item.groupId);
            if (!group) continue;
            for (const vxa::ObjectRecord& object : group->objects) {
                if (object.kind != vxa::ObjectKind::Text) continue;
                const ObjectHeader h = objectHeaderOf(object);
                const int em = emHeightForSize(mapFontName(object.fontName.c_str(), object.size).size);
                const int top = std::min(h.top, h.bottom) - h.lineWidth + item.y;
                const int bottom = std::max(h.top, h.bottom) + h.lineWidth + item.y + 2 * em + 2;
                std::fprintf(bands, "text %d %d %d\n", n, top, bottom);
            }
        }
        char name[32];
        std::snprintf(name, sizeof name, "/%05d.png", n);
        if (!writePng(out + name, picture)) return 1;
    }
    std::fclose(bands);
    return 0;
}
