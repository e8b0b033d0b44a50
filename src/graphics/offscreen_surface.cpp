#include "graphics/offscreen_surface.h"

#include "framework/application.h"

namespace {

// Pattern brushes colour the sheet through a monochrome-to-colour copy, which
// paints black in the text colour and white in the background colour. The
// platform may load the 1-bit resource as a colour bitmap (Wine does when its
// colour table lists white before black), whose copy would ignore both
// colours, so the sheet is always kept as a true monochrome bitmap.
HBITMAP monochromeCopy(HBITMAP sheet) {
    BITMAP size{};
    if (!sheet || !GetObjectA(sheet, sizeof size, &size)) return nullptr;
    HBITMAP mono = CreateBitmap(size.bmWidth, size.bmHeight, 1, 1, nullptr);
    HDC source = CreateCompatibleDC(nullptr);
    HDC destination = CreateCompatibleDC(nullptr);
    if (mono && source && destination) {
        HGDIOBJ oldSource = SelectObject(source, sheet);
        HGDIOBJ oldDestination = SelectObject(destination, mono);
        // Colour to monochrome: the source's background colour becomes white.
        SetBkColor(source, RGB(255, 255, 255));
        BitBlt(destination, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, oldSource);
        SelectObject(destination, oldDestination);
    }
    if (source) DeleteDC(source);
    if (destination) DeleteDC(destination);
    return mono;
}

}  // namespace

OffscreenSurface::OffscreenSurface(HDC reference, const RECT& rect, int patternSheetId)
    : surfaceRect_(rect) {
    HDC context = CreateCompatibleDC(reference);
    if (!context) return;
    setHandle(context);

    HBITMAP bitmap = CreateCompatibleBitmap(reference, rect.right - rect.left, rect.bottom - rect.top);
    if (bitmap) {
        HGDIOBJ previous = SelectObject(context, bitmap);
        if (previous && previous != HGDI_ERROR) {
            savedBitmap_ = static_cast<HBITMAP>(previous);
        } else {
            DeleteObject(bitmap);
        }
    }

    if (patternSheetId != 0) {
        fw::Bitmap loaded(LoadBitmapA(fw::Application::instance().moduleHandle(), MAKEINTRESOURCEA(patternSheetId)));
        patternSheet_.reset(monochromeCopy(loaded.handle()));
    }
}

OffscreenSurface::~OffscreenSurface() {
    HDC context = handle();
    if (context) {
        // Putting the context's own objects back displaces the adopted pen,
        // the adopted brush and the off-screen bitmap, which are ours to delete.
        if (savedPen_) DeleteObject(SelectObject(context, savedPen_));
        if (savedBrush_) DeleteObject(SelectObject(context, savedBrush_));
        if (savedBitmap_) DeleteObject(SelectObject(context, savedBitmap_));
    }
    savedPen_ = nullptr;
    savedBrush_ = nullptr;
    savedBitmap_ = nullptr;
    tileMaker_.reset();
    patternSheet_.reset();
    // The base deletes the context.
}

void OffscreenSurface::adoptPen(fw::Pen& pen) {
    HGDIOBJ previous = fw::selectInto(handle(), pen.handle());
    if (!previous) return;  // the pen stays with its owner, who deletes it
    pen.release();
    if (savedPen_) {
        DeleteObject(previous);
    } else {
        savedPen_ = static_cast<HPEN>(previous);
    }
}

void OffscreenSurface::adoptBrush(fw::Brush& brush) {
    HGDIOBJ previous = fw::selectInto(handle(), brush.handle());
    if (!previous) return;
    brush.release();
    if (savedBrush_) {
        DeleteObject(previous);
    } else {
        savedBrush_ = static_cast<HBRUSH>(previous);
    }
}

void OffscreenSurface::copyToWindow(HWND window, const RECT* target) const {
    if (!window) return;
    RECT client;
    if (!target) {
        GetClientRect(window, &client);
        target = &client;
    }
    HDC windowContext = GetDC(window);
    if (!windowContext) return;
    StretchBlt(windowContext, target->left, target->top, target->right - target->left,
               target->bottom - target->top, handle(), surfaceRect_.left, surfaceRect_.top,
               surfaceRect_.right - surfaceRect_.left, surfaceRect_.bottom - surfaceRect_.top, SRCCOPY);
    ReleaseDC(window, windowContext);
}
