#include "graphics/text_object.h"

#include <cstring>

#include "core/tables/color_table.h"
#include "graphics/font_mapping.h"
#include "core/tables/line_breaks.h"
#include "graphics/offscreen_surface.h"

namespace {

constexpr int kBold = 0x01;
constexpr int kItalic = 0x02;
constexpr int kUnderline = 0x04;

}  // namespace

TextObject::TextObject(int kind, const ObjectHeader& header, int textColor, int style, int size,
                       int justification, const char* fontName, const char* text, ObjectBuildContext& context)
    : RectObject(kind, header),
      textRect_(rect()),
      textColor_(static_cast<int16_t>(textColor)),
      justification_(static_cast<int16_t>(justification)) {
    InflateRect(&textRect_, header.lineWidth, header.lineWidth);

    const MappedFont mapped = mapFontName(fontName, size);
    font_ = context.makeFont(mapped.faceName, mapped.size, style & kBold, style & kItalic, style & kUnderline);

    // Exactly the expanded text and its terminating zero.
    const size_t length = std::strlen(text);
    text_.reset(new char[length + countCarriageReturns(text) + 1]);
    std::memcpy(text_.get(), text, length + 1);
    expandLineBreaks(text_.get());
    textLength_ = static_cast<int>(std::strlen(text_.get()));
}

void TextObject::draw(OffscreenSurface& surface) {
    RectObject::draw(surface);

    UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_TOP;
    if (justification_ == kCentred) {
        format |= DT_CENTER;
    } else if (justification_ == kRight) {
        format |= DT_RIGHT;
    }

    HDC context = surface.handle();
    // Not restored: nothing on the surface draws text opaquely.
    SetBkMode(context, TRANSPARENT);
    const COLORREF previousColor = SetTextColor(context, colorForIndex(textColor_));
    HGDIOBJ previousFont = font_ ? SelectObject(context, font_->font.handle()) : nullptr;
    RECT layout = textRect_;
    DrawTextA(context, text_.get(), textLength_, &layout, format);
    SetTextColor(context, previousColor);
    if (previousFont && previousFont != HGDI_ERROR) SelectObject(context, previousFont);
}
