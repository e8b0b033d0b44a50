// Draws the pictures of docs/authoring.md, or checks that the committed
// ones are still what the project draws.
//
//   guide_pictures [--check] FOLDER
//
// FOLDER holds the guide's JSON sources; each NAME.json becomes NAME.png
// beside it (every frame of the movie, left to right), and the movies made
// from the tables and the timeline become colours.png, patterns.png and
// playback.png. --check writes nothing: it names every picture that is
// missing, differs from what would be drawn now, or has no source, and
// exits 1 if there is one.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "made_movies.h"
#include "movie_picture.h"

namespace fs = std::filesystem;

namespace {

bool writePng(const fs::path& path, const raster::Image& image) {
    const std::vector<uint8_t> rgb = image.rgbBytes();
    return stbi_write_png(path.c_str(), image.width, image.height, 3, rgb.data(), image.width * 3) != 0;
}

// What differs between the committed picture and the one drawn now; empty
// when they are the same pixels.
std::string compareWithFile(const fs::path& path, const raster::Image& drawn) {
    int width = 0, height = 0, channels = 0;
    uint8_t* rgb = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (!rgb) return "missing or unreadable";
    std::string verdict;
    if (width != drawn.width || height != drawn.height) {
        verdict = "is " + std::to_string(width) + " x " + std::to_string(height) + ", now drawn " +
                  std::to_string(drawn.width) + " x " + std::to_string(drawn.height);
    } else {
        size_t differing = 0;
        for (size_t i = 0; i < drawn.pixels.size(); ++i) {
            const uint32_t p = drawn.pixels[i];
            const uint32_t q = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
            differing += p != q;
        }
        if (differing) verdict = std::to_string(differing) + " pixels differ from what is drawn now";
    }
    stbi_image_free(rgb);
    return verdict;
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: guide_pictures [--check] FOLDER\n");
        return 2;
    }
    const fs::path folder = argv[argc - 1];

    std::map<std::string, vxa::tool::Json> sources = {
        {"colours", guide::colourSwatchMovie()},
        {"patterns", guide::patternSheetMovie()},
        {"playback", guide::playbackChartMovie()},
    };
    try {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() != ".json") continue;
            std::ifstream in(entry.path());
            sources[entry.path().stem().string()] = vxa::tool::Json::parse(in);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "guide_pictures: %s\n", e.what());
        return 1;
    }

    int faults = 0;
    for (const auto& [name, source] : sources) {
        const fs::path picture = folder / (name + ".png");
        try {
            const raster::Image drawn = guide::drawFrames(guide::buildStream(source));
            if (!check) {
                if (!writePng(picture, drawn)) throw std::runtime_error("cannot write " + picture.string());
                continue;
            }
            if (const std::string verdict = compareWithFile(picture, drawn); !verdict.empty()) {
                std::printf("%s: %s\n", picture.c_str(), verdict.c_str());
                ++faults;
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "guide_pictures: %s: %s\n", name.c_str(), e.what());
            ++faults;
        }
    }
    if (check) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == ".png" && !sources.count(entry.path().stem().string())) {
                std::printf("%s: no source draws it\n", entry.path().c_str());
                ++faults;
            }
        }
    }
    return faults ? 1 : 0;
}
