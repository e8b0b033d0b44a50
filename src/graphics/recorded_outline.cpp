#include "graphics/recorded_outline.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/device_context.h"
#include "framework/gdi_object.h"

namespace {

// Raster operation DSPDxax: where the source is white the pattern (the
// selected brush), elsewhere the destination as it was.
constexpr DWORD kPatternThroughSource = 0x00E20746;

// A 1-bit top-down bitmap whose 0 bits are black and 1 bits white.
struct MonochromeInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
};

MonochromeInfo monochromeInfo(int width, int height) {
    MonochromeInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    return info;
}

}  // namespace

bool RecordingBudget::take(size_t bytes) {
    if (bytes > left_) return false;
    left_ -= bytes;
    return true;
}

struct RecordedOutline::Masks {
    // The box with a margin beyond the pen's width on every side: the margin
    // must stay blank, or the call paints beyond the box and can't be
    // recorded whole.
    Masks(const RECT& box, int penWidth)
        : left(std::min(box.left, box.right) - (penWidth + 2)),
          top(std::min(box.top, box.bottom) - (penWidth + 2)),
          width(std::abs(box.right - box.left) + 2 * (penWidth + 2)),
          height(std::abs(box.bottom - box.top) + 2 * (penWidth + 2)),
          stride(static_cast<size_t>((width + 31) / 32 * 4)) {}
    size_t maskBytes() const { return stride * static_cast<size_t>(height); }
    size_t bytes() const { return outline.size() + interior.size(); }

    int left, top;  // where the masks lie, in the object's coordinates
    int width, height;
    size_t stride;
    std::vector<uint8_t> outline;   // where the pen paints
    std::vector<uint8_t> interior;  // where the brush paints; empty without one
};

RecordedOutline::RecordedOutline() = default;

RecordedOutline::~RecordedOutline() {
    if (masks_ && budget_) budget_->giveBack(masks_->bytes());
}

void RecordedOutline::draw(HDC target, const RECT& box, int penWidth, COLORREF penColor, bool withBrush,
                           const std::shared_ptr<RecordingBudget>& budget, const Paint& paint) {
    if (!masks_ && ++draws_ == 2 && budget) {
        try {
            const size_t bytes = Masks(box, penWidth).maskBytes() * (withBrush ? 2 : 1);
            if (budget->take(bytes)) {
                masks_ = record(target, box, penWidth, withBrush, paint);
                if (masks_) {
                    budget_ = budget;
                } else {
                    budget->giveBack(bytes);
                }
            }
        } catch (const std::bad_alloc&) {
            // Drawn directly, as if never recorded.
        }
    }
    if (masks_) {
        replay(target, penColor);
    } else {
        paint(target);
    }
}

std::unique_ptr<RecordedOutline::Masks> RecordedOutline::record(HDC reference, const RECT& box, int penWidth,
                                                                bool withBrush, const Paint& paint) const {
    auto masks = std::make_unique<Masks>(box, penWidth);
    const size_t stride = masks->stride;
    const size_t size = masks->maskBytes();

    MonochromeInfo info = monochromeInfo(masks->width, masks->height);
    void* bits = nullptr;
    fw::Bitmap bitmap(CreateDIBSection(reference, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                       nullptr, 0));
    fw::DeviceContext context(CreateCompatibleDC(reference));
    fw::Pen pen(CreatePen(PS_INSIDEFRAME, penWidth, RGB(255, 255, 255)));
    if (!bitmap || !bits || !context || !pen) return nullptr;
    fw::SelectionGuard bitmapSelected(context.handle(), bitmap.handle());
    fw::SelectionGuard penSelected(context.handle(), pen.handle());
    SetWindowOrgEx(context.handle(), masks->left, masks->top, nullptr);

    auto paintInto = [&](std::vector<uint8_t>& mask, int brush) {
        std::memset(bits, 0, size);
        fw::SelectionGuard brushSelected(context.handle(), GetStockObject(brush));
        paint(context.handle());
        GdiFlush();
        mask.assign(static_cast<const uint8_t*>(bits), static_cast<const uint8_t*>(bits) + size);
    };
    paintInto(masks->outline, NULL_BRUSH);
    if (withBrush) {
        paintInto(masks->interior, WHITE_BRUSH);
        for (size_t i = 0; i < size; ++i) masks->interior[i] &= static_cast<uint8_t>(~masks->outline[i]);
    }

    // The two outermost rows and columns of the margin must be blank.
    auto blank = [&](int x, int y) {
        const size_t at = static_cast<size_t>(y) * stride + static_cast<size_t>(x / 8);
        const auto bit = static_cast<uint8_t>(0x80 >> (x % 8));
        return !(masks->outline[at] & bit) && (!withBrush || !(masks->interior[at] & bit));
    };
    for (int x = 0; x < masks->width; ++x) {
        for (int y : {0, 1, masks->height - 2, masks->height - 1}) {
            if (!blank(x, y)) return nullptr;
        }
    }
    for (int y = 0; y < masks->height; ++y) {
        for (int x : {0, 1, masks->width - 2, masks->width - 1}) {
            if (!blank(x, y)) return nullptr;
        }
    }
    return masks;
}

void RecordedOutline::replay(HDC target, COLORREF penColor) const {
    const Masks& m = *masks_;
    MonochromeInfo info = monochromeInfo(m.width, m.height);
    const auto* header = reinterpret_cast<const BITMAPINFO*>(&info);
    // The interior with the selected brush first, as the call paints it,
    // then the outline over it.
    if (!m.interior.empty()) {
        StretchDIBits(target, m.left, m.top, m.width, m.height, 0, 0, m.width, m.height, m.interior.data(), header,
                      DIB_RGB_COLORS, kPatternThroughSource);
    }
    fw::Brush pen(CreateSolidBrush(penColor));
    fw::SelectionGuard penAsBrush(target, pen.handle());
    StretchDIBits(target, m.left, m.top, m.width, m.height, 0, 0, m.width, m.height, m.outline.data(), header,
                  DIB_RGB_COLORS, kPatternThroughSource);
}
