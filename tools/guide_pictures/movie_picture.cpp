#include "movie_picture.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "core/model/movie_model.h"
#include "core/raster/frame_composer.h"
#include "source_reader.h"

namespace guide {
namespace {

constexpr int kGap = 8;
constexpr uint32_t kGapColour = 0x808080;

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

raster::FontLibrary& fonts() {
    static raster::FontLibrary library;
    static const bool loaded = [] {
        for (const std::string& name : raster::FontLibrary::neededFiles())
            library.addFile(name, readFile("/usr/share/fonts/truetype/liberation/" + name));
        return true;
    }();
    (void)loaded;
    return library;
}

}  // namespace

std::vector<uint8_t> buildStream(const vxa::tool::Json& source) {
    return vxa::encodeStream(vxa::tool::readSource(source));
}

raster::Image drawFrames(const std::vector<uint8_t>& stream) {
    vxa::MovieModel model;
    model.append(stream.data(), stream.size());
    if (!model.headerComplete()) throw std::runtime_error("no whole header");
    const vxa::Header& header = model.header();
    raster::FrameComposer composer(header.width, header.height, model.groupCount());
    const int frames = model.frameCount();
    raster::Image sheet(frames * header.width + (frames - 1) * kGap, header.height);
    for (uint32_t& pixel : sheet.pixels) pixel = kGapColour;
    for (int n = 1; n <= frames; ++n) {
        if (!model.frame(n)) throw std::runtime_error("frame " + std::to_string(n) + " is missing");
        if (!composer.compose(model, n, fonts()))
            throw std::runtime_error("frame " + std::to_string(n) + " names a group that is missing");
        const raster::Image& picture = composer.picture();
        const int left = (n - 1) * (header.width + kGap);
        for (int y = 0; y < header.height; ++y)
            for (int x = 0; x < header.width; ++x)
                sheet.pixels[y * sheet.width + left + x] = picture.pixels[y * picture.width + x];
    }
    return sheet;
}

}  // namespace guide
