#pragma once
// Text as the plug-in draws it: laid out the way the platform's DrawText lays
// out a word-wrapped, top-aligned block, in the Liberation fonts that stand in
// for the faces the plug-in asks for.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/raster/canvas.h"
#include "core/raster/objects.h"

namespace raster {

// The font files the renderer draws with, given by the caller as bytes (the
// renderer reads no files): the native tools load them from the system's
// Liberation fonts, the web player fetches them. Faces are made once and kept;
// glyphs are rendered once per face, size and character and kept within a
// bound of bitmap bytes, and texts are laid out once per face.
class FontLibrary {
public:
    // Room for the glyphs of hundreds of texts in every face and style at
    // sizes up to 72 (the web bench's hostile page); a bound too tight for
    // what a frame draws renders glyphs again every frame.
    static constexpr size_t kGlyphBytes = 16 << 20;

    explicit FontLibrary(size_t glyphBytes = kGlyphBytes);
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // The bytes of a font file, under its file name ("LiberationSans-Bold.ttf");
    // a file given again replaces the earlier bytes. Not for use from two
    // threads at once.
    void addFile(const std::string& fileName, std::vector<uint8_t> bytes);
    bool hasFile(const std::string& fileName) const;
    // Changes whenever a file is given, and differs between libraries: the
    // same stamp draws the same texts.
    uint64_t stateStamp() const { return stamp_; }

    // The file names of every face and style the renderer may ask for.
    static std::vector<std::string> neededFiles();

    struct State;
    State& state() { return *state_; }

private:
    std::unique_ptr<State> state_;
    uint64_t stamp_;
};

// The font file the block's text is drawn in; empty for a face that has no
// stand-in, whose text is not drawn.
std::string fontFileFor(const TextBlock& block);

// Draws the block's text over what is on the canvas (the box is drawn by the
// caller), in logical coordinates.
void drawText(Canvas& canvas, const TextBlock& block, FontLibrary& fonts);

}  // namespace raster
