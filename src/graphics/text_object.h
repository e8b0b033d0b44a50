#pragma once
#include <cstdint>
#include <memory>

#include "graphics/rect_object.h"

// Kind 6: a rectangle (drawn from the header exactly as a RectObject) that
// also shows a word-wrapped text in a font it shares with the movie's other
// text objects of the same face, size and style.
class TextObject : public RectObject {
public:
    // Justification.
    static constexpr int kCentred = 1;
    static constexpr int kRight = -1;  // any other value is left

    // style: bit 0 bold, bit 1 italic, bit 2 underline. fontName and text
    // are copied. The font comes from context, within its bounds; when none
    // can be made the text is drawn in the surface's current font.
    TextObject(int kind, const ObjectHeader& header, int textColor, int style, int size, int justification,
               const char* fontName, const char* text, ObjectBuildContext& context);

    void draw(OffscreenSurface& surface) override;

    // The layout rectangle: rect grown by the line width on every side.
    const RECT& textRect() const { return textRect_; }
    int textColor() const { return textColor_; }
    int justification() const { return justification_; }
    HFONT font() const { return font_ ? font_->font.handle() : nullptr; }
    // With every carriage return expanded to CR LF.
    const char* text() const { return text_.get(); }
    int textLength() const { return textLength_; }

private:
    RECT textRect_;
    int16_t textColor_;
    int16_t justification_;
    ObjectBuildContext::TextFont font_;
    // An int, not 16 bits: expansion can double the longest stored text.
    int textLength_ = 0;
    std::unique_ptr<char[]> text_;
};
