#include "core/raster/text.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <map>
#include <unordered_map>

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

// blendComponent of every level and every component below, for one text
// component: [level][below].
using BlendTable = std::array<uint8_t, 17 * 256>;

BlendTable blendTableFor(uint8_t text) {
    BlendTable table;
    for (int level = 0; level <= 16; ++level) {
        for (int below = 0; below < 256; ++below) {
            table[static_cast<size_t>(level * 256 + below)] = blendComponent(static_cast<uint8_t>(below), text, level);
        }
    }
    return table;
}

// Blends one text colour by table look-ups instead of divisions.
struct Blender {
    uint32_t color;
    const BlendTable* red;
    const BlendTable* green;
    const BlendTable* blue;

    uint32_t operator()(uint32_t below, int level) const {
        const size_t at = static_cast<size_t>(level) * 256;
        return static_cast<uint32_t>((*red)[at + (below >> 16 & 0xFF)]) << 16 |
               static_cast<uint32_t>((*green)[at + (below >> 8 & 0xFF)]) << 8 | (*blue)[at + (below & 0xFF)];
    }
};

void drawGlyph(Image& image, const Glyph& glyph, int left, int top, const Rect& clip, const Blender& blend) {
    for (const GlyphRun& run : glyph.runs) {
        const int y = top + run.y;
        if (y < clip.top || y >= clip.bottom) continue;
        const int x0 = std::max(left + run.x0, clip.left);
        const int x1 = std::min(left + run.x1, clip.right);
        if (x0 >= x1) continue;
        uint32_t* row = image.row(y);
        if (run.full) {
            std::fill(row + x0, row + x1, blend.color);
            continue;
        }
        const uint8_t* levels = glyph.levels.data() + static_cast<size_t>(run.y) * glyph.width - left;
        for (int x = x0; x < x1; ++x) row[x] = blend(row[x], levels[x]);
    }
}

// A text block laid out, as the first time it was drawn: its face (null when
// its font file is missing), lines and glyphs.
struct TextLayout {
    // What the layout was made from (its colour and underline do not count).
    TextBlock made;

    SizedFace* face = nullptr;
    std::vector<uint16_t> text;
    std::vector<LaidLine> lines;
    // The glyph of every character drawn, while the glyphs kept are those
    // of glyphEpoch.
    std::vector<const Glyph*> glyphs;
    uint64_t glyphEpoch = 0;

    bool isFor(const TextBlock& b) const {
        const Rect& box = made.layout;
        return made.bold == b.bold && made.italic == b.italic && made.size == b.size &&
               made.justification == b.justification && box.left == b.layout.left && box.top == b.layout.top &&
               box.right == b.layout.right && box.bottom == b.layout.bottom &&
               std::strcmp(made.faceName, b.faceName) == 0 && made.text == b.text;
    }
};

uint64_t layoutKey(const TextBlock& b) {
    uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a
    auto mix = [&hash](uint64_t v) {
        hash ^= v;
        hash *= 0x100000001b3u;
    };
    for (const int v : {b.layout.left, b.layout.top, b.layout.right, b.layout.bottom, b.size, b.justification,
                        static_cast<int>(b.bold) << 1 | static_cast<int>(b.italic)}) {
        mix(static_cast<uint32_t>(v));
    }
    for (const char* c = b.faceName; *c; ++c) mix(static_cast<unsigned char>(*c));
    for (const unsigned char c : b.text) mix(c);
    return hash;
}

}  // namespace

struct FontLibrary::State {
    // Laid-out texts kept; past this many they are all let go and laid out
    // again as they are drawn.
    static constexpr size_t kLayouts = 4096;

    FT_Library library = nullptr;
    size_t glyphBytes = 0;      // the bound on the glyphs' bitmaps kept
    size_t glyphBytesKept = 0;  // by all sized faces together
    uint64_t glyphEpoch = 1;    // counts the times the glyphs were let go
    std::map<std::string, std::vector<uint8_t>> files;
    struct Sized {
        FT_Face face = nullptr;
        std::unique_ptr<SizedFace> sized;
    };
    std::map<std::pair<std::string, int>, Sized> faces;
    std::unordered_map<uint64_t, TextLayout> layouts;
    std::array<std::unique_ptr<BlendTable>, 256> blendTables;  // by text component, made as needed

    explicit State(size_t bound) : glyphBytes(bound) { FT_Init_FreeType(&library); }
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

    // The glyph, rendered once and kept while the glyphs kept stay within
    // their bound; a glyph that would pass it lets all the others go first.
    const Glyph& glyph(SizedFace& face, uint16_t c) {
        if (!face.hasGlyph(c) && glyphBytesKept >= glyphBytes) {
            for (auto& entry : faces) {
                if (entry.second.sized) entry.second.sized->forgetGlyphs();
            }
            glyphBytesKept = 0;
            ++glyphEpoch;
        }
        const size_t before = face.glyphBytes();
        const Glyph& glyph = face.glyph(c);
        glyphBytesKept += face.glyphBytes() - before;
        return glyph;
    }

    Blender blenderFor(uint32_t color) {
        auto table = [this](uint32_t component) -> const BlendTable* {
            std::unique_ptr<BlendTable>& kept = blendTables[component & 0xFF];
            if (!kept) kept = std::make_unique<BlendTable>(blendTableFor(static_cast<uint8_t>(component)));
            return kept.get();
        };
        return Blender{color, table(color >> 16), table(color >> 8), table(color)};
    }

    TextLayout& layout(const TextBlock& block) {
        const uint64_t key = layoutKey(block);
        const auto found = layouts.find(key);
        if (found != layouts.end() && found->second.isFor(block)) return found->second;
        if (layouts.size() >= kLayouts) layouts.clear();
        TextLayout& laid = layouts[key];
        laid = TextLayout{};
        laid.made = block;
        const std::string file = fontFileFor(block);
        laid.face = file.empty() ? nullptr : face(file, emHeightForSize(block.size));
        if (!laid.face) return laid;
        SizedFace* sized = laid.face;
        const Alignment alignment = block.justification == 1    ? Alignment::Centre
                                    : block.justification == -1 ? Alignment::Right
                                                                : Alignment::Left;
        const TextBox box{block.layout.left, block.layout.top, block.layout.right, block.layout.bottom};
        laid.text = fromWindows1252(block.text);
        laid.lines = layOutText(laid.text, box, alignment, sized->height(),
                                [sized](uint16_t c) { return sized->layoutAdvance(c); });
        return laid;
    }

    // The layout's glyphs, rendered or found again after they were let go;
    // null when they do not fit the bound together (they are then drawn one
    // by one).
    const std::vector<const Glyph*>* glyphsOf(TextLayout& laid) {
        if (laid.glyphEpoch == glyphEpoch) return &laid.glyphs;
        // A second try starts from glyphs just let go.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const uint64_t epoch = glyphEpoch;
            // Only the characters of the lines drawn: a text may run on
            // past its box.
            laid.glyphs.assign(laid.text.size(), nullptr);
            for (const LaidLine& line : laid.lines) {
                for (int i = line.start; i < line.start + line.length; ++i) {
                    laid.glyphs[static_cast<size_t>(i)] = &glyph(*laid.face, laid.text[static_cast<size_t>(i)]);
                }
            }
            if (glyphEpoch == epoch) {
                laid.glyphEpoch = epoch;
                return &laid.glyphs;
            }
        }
        laid.glyphs.clear();
        laid.glyphEpoch = 0;
        return nullptr;
    }
};

namespace {
std::atomic<uint64_t> lastStamp{0};
}  // namespace

FontLibrary::FontLibrary(size_t glyphBytes) : state_(std::make_unique<State>(glyphBytes)), stamp_(++lastStamp) {}
FontLibrary::~FontLibrary() = default;

void FontLibrary::addFile(const std::string& fileName, std::vector<uint8_t> bytes) {
    // Faces read their file's bytes in place: those made from the bytes
    // being replaced go first, and the layouts made with any face.
    state_->layouts.clear();
    for (auto entry = state_->faces.begin(); entry != state_->faces.end();) {
        if (entry->first.first != fileName) {
            ++entry;
            continue;
        }
        if (entry->second.sized) state_->glyphBytesKept -= entry->second.sized->glyphBytes();
        entry->second.sized.reset();
        if (entry->second.face) FT_Done_Face(entry->second.face);
        entry = state_->faces.erase(entry);
    }
    state_->files[fileName] = std::move(bytes);
    stamp_ = ++lastStamp;
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
    FontLibrary::State& state = fonts.state();
    TextLayout& laid = state.layout(block);
    SizedFace* face = laid.face;
    if (!face) return;
    const std::vector<uint16_t>& text = laid.text;
    const std::vector<const Glyph*>* glyphs = state.glyphsOf(laid);
    const TextBox box{block.layout.left, block.layout.top, block.layout.right, block.layout.bottom};

    Image& image = canvas.image();
    const Point origin = canvas.windowOrigin();
    const uint32_t color = rgbForIndex(block.colorIndex);
    const Blender blender = state.blenderFor(color);
    // Glyphs are cut to the layout box; underlines are not.
    Rect clip{std::min(box.left, box.right) - origin.x, std::min(box.top, box.bottom) - origin.y,
              std::max(box.left, box.right) - origin.x, std::max(box.top, box.bottom) - origin.y};
    clip = intersection(clip, Rect{0, 0, image.width, image.height});
    for (const LaidLine& line : laid.lines) {
        if (line.length == 0) continue;
        const int left = line.x - origin.x;
        const int baseline = line.y - origin.y + face->ascent();
        int pen = left;
        for (int i = 0; i < line.length; ++i) {
            const size_t at = static_cast<size_t>(line.start + i);
            const Glyph& glyph = glyphs ? *(*glyphs)[at] : state.glyph(*face, text[at]);
            if (glyph.width > 0 && !clip.empty()) {
                drawGlyph(image, glyph, pen + glyph.originX, baseline - glyph.originY, clip, blender);
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
