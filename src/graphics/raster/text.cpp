#include "graphics/raster/text.h"

#include <map>
#include <set>

#include "graphics/tables/font_map.h"

namespace raster {

struct FontLibrary::State {
    std::map<std::string, std::vector<uint8_t>> files;
};

FontLibrary::FontLibrary() : state_(std::make_unique<State>()) {}
FontLibrary::~FontLibrary() = default;

void FontLibrary::addFile(const std::string& fileName, std::vector<uint8_t> bytes) {
    state_->files[fileName] = std::move(bytes);
}

bool FontLibrary::hasFile(const std::string& fileName) const { return state_->files.count(fileName) != 0; }

std::vector<std::string> FontLibrary::neededFiles() {
    const char* faces[] = {"Times New Roman", "Arial", "Courier New", "MS Sans Serif",
                           "MS Serif", "Terminal", "Symbol", "System"};
    std::set<std::string> names;
    for (const char* face : faces) {
        const char* family = standInFamily(face);
        if (!family) continue;
        for (int style = 0; style < 4; ++style) names.insert(fontFileName(family, style & 1, style & 2));
    }
    return std::vector<std::string>(names.begin(), names.end());
}

void drawText(Canvas&, const TextBlock&, FontLibrary&) {}

}  // namespace raster
