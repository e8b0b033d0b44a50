#include "core/raster/text.h"

#include <algorithm>
#include <map>

#include "core/raster/glyphs.h"
#include "core/raster/text_layout.h"
#include "core/tables/color_table.h"
#include "core/tables/font_map.h"

namespace raster {

namespace {

constexpr uint16_t kWindows1252High[32] = {
#include "core/tables/windows_1252.inc"
};

std::vector<uint16_t> fromWindows1252(const std::string& text) {
    std::vector<uint16_t> wide;
    wide.reserve(text.size());
    for (unsigned char c : text) wide.push_back(c >= 0x80 && c < 0xA0 ? kWindows1252High[c - 0x80] : c);
    return wide;
}

// Intensity of the 17 coverage levels for a full-intensity colour on black:
// an antialiased pixel blends the text colour into what lies below along it.
constexpr uint8_t kRamp[17] = {0,    0x4d, 0x68, 0x7c, 0x8c, 0x9a, 0xa7, 0xb2, 0xbd,
                               0xc7, 0xd0, 0xd9, 0xe1, 0xe9, 0xf0, 0xf8, 0xff};

uint8_t blendComponent(uint8_t below, uint8_t text, int level) {
    if (below == text) return below;
    if (below > text) {
        const unsigned high = kRamp[16 - level] + ((0xffu - kRamp[16 - level]) * text) / 0xff;
        return static_cast<uint8_t>(text + ((below - text) * (high - text)) / (0xffu - text));
    }
    const unsigned low = (kRamp[level] * static_cast<unsigned>(text)) / 0xff;
    return static_cast<uint8_t>(text - ((text - below) * (text - low)) / text);
}

uint32_t blend(uint32_t below, uint32_t text, int level) {
    return static_cast<uint32_t>(blendComponent(below >> 16 & 0xFF, text >> 16 & 0xFF, level)) << 16 |
           static_cast<uint32_t>(blendComponent(below >> 8 & 0xFF, text >> 8 & 0xFF, level)) << 8 |
           blendComponent(below & 0xFF, text & 0xFF, level);
}

void drawGlyph(Image& image, const Glyph& glyph, int left, int top, const Rect& clip, uint32_t color) {
    const Rect area = intersection(Rect{left, top, left + glyph.width, top + glyph.height}, clip);
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = image.row(y);
        const uint8_t* levels = glyph.levels.data() + static_cast<size_t>(y - top) * glyph.width - left;
        for (int x = area.left; x < area.right; ++x) {
            const int level = levels[x];
            if (level <= 1) continue;
            row[x] = level >= 16 ? color : blend(row[x], color, level);
        }
    }
}

}  // namespace

struct FontLibrary::State {
    FT_Library library = nullptr;
    std::map<std::string, std::vector<uint8_t>> files;
    struct Sized {
        FT_Face face = nullptr;
        std::unique_ptr<SizedFace> sized;
    };
    std::map<std::pair<std::string, int>, Sized> faces;

    State() { FT_Init_FreeType(&library); }
    ~State() {
        for (auto& entry : faces) {
            entry.second.sized.reset();
            FT_Done_Face(entry.second.face);
        }
        FT_Done_FreeType(library);
    }

    // Null when the file was not given or is no font.
    SizedFace* face(const std::string& file, int ppem) {
        const auto key = std::make_pair(file, ppem);
        const auto found = faces.find(key);
        if (found != faces.end()) return found->second.sized.get();
        Sized& entry = faces[key];
        const auto bytes = files.find(file);
        if (!library || bytes == files.end()) return nullptr;
        if (FT_New_Memory_Face(library, bytes->second.data(), static_cast<FT_Long>(bytes->second.size()), 0,
                               &entry.face)) {
            entry.face = nullptr;
            return nullptr;
        }
        entry.sized = std::make_unique<SizedFace>(entry.face, ppem);
        return entry.sized.get();
    }
};

FontLibrary::FontLibrary() : state_(std::make_unique<State>()) {}
FontLibrary::~FontLibrary() = default;

void FontLibrary::addFile(const std::string& fileName, std::vector<uint8_t> bytes) {
    // Faces read their file's bytes in place: those made from the bytes
    // being replaced go first.
    for (auto entry = state_->faces.begin(); entry != state_->faces.end();) {
        if (entry->first.first != fileName) {
            ++entry;
            continue;
        }
        entry->second.sized.reset();
        if (entry->second.face) FT_Done_Face(entry->second.face);
        entry = state_->faces.erase(entry);
    }
    state_->files[fileName] = std::move(bytes);
}

bool FontLibrary::hasFile(const std::string& fileName) const { return state_->files.count(fileName) != 0; }

std::vector<std::string> FontLibrary::neededFiles() {
    std::vector<std::string> names;
    for (const std::string& family : standInFamilies()) {
        for (int style = 0; style < 4; ++style) names.push_back(fontFileName(family.c_str(), style & 1, style & 2));
    }
    return names;
}

std::string fontFileFor(const TextBlock& block) {
    const char* family = standInFamily(block.faceName);
    return family ? fontFileName(family, block.bold, block.italic) : std::string();
}

void drawText(Canvas& canvas, const TextBlock& block, FontLibrary& fonts) {
    if (block.text.empty()) return;
    const std::string file = fontFileFor(block);
    if (file.empty()) return;
    SizedFace* face = fonts.state().face(file, emHeightForSize(block.size));
    if (!face) return;

    const std::vector<uint16_t> text = fromWindows1252(block.text);
    const Alignment alignment = block.justification == 1    ? Alignment::Centre
                                : block.justification == -1 ? Alignment::Right
                                                            : Alignment::Left;
    const TextBox box{block.layout.left, block.layout.top, block.layout.right, block.layout.bottom};
    const std::vector<LaidLine> lines =
        layOutText(text, box, alignment, face->height(), [face](uint16_t c) { return face->layoutAdvance(c); });

    Image& image = canvas.image();
    const Point origin = canvas.windowOrigin();
    const uint32_t color = rgbForIndex(block.colorIndex);
    // Glyphs are cut to the layout box; underlines are not.
    Rect clip{std::min(box.left, box.right) - origin.x, std::min(box.top, box.bottom) - origin.y,
              std::max(box.left, box.right) - origin.x, std::max(box.top, box.bottom) - origin.y};
    clip = intersection(clip, Rect{0, 0, image.width, image.height});
    for (const LaidLine& line : lines) {
        if (line.length == 0) continue;
        const int left = line.x - origin.x;
        const int baseline = line.y - origin.y + face->ascent();
        int pen = left;
        for (int i = 0; i < line.length; ++i) {
            const Glyph& glyph = face->glyph(text[static_cast<size_t>(line.start + i)]);
            if (glyph.width > 0 && !clip.empty()) {
                drawGlyph(image, glyph, pen + glyph.originX, baseline - glyph.originY, clip, color);
            }
            pen += glyph.advance;
        }
        if (block.underline) {
            int thickness = std::abs(face->underlineThickness());
            if (thickness == 0) thickness = 1;
            if (face->underlineThickness() < 0) thickness = -thickness;
            const int top = baseline - (face->underlinePosition() + thickness / 2);
            fillRect(image,
                     Rect{std::min(left, left + line.width), std::min(top, top + thickness),
                          std::max(left, left + line.width), std::max(top, top + thickness)},
                     Paint::solid(color));
        }
    }
}

}  // namespace raster
