#include "graphics/offscreen_surface.h"

#include "framework/application.h"

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
        patternSheet_.reset(LoadBitmapA(fw::Application::instance().moduleHandle(),
                                        MAKEINTRESOURCEA(patternSheetId)));
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
    patternSheet_.reset();
    // The base deletes the context.
}

namespace {

// Selects object and reports what it displaced, or null when the selection
// failed (no context, an empty or deleted object).
HGDIOBJ selectInto(HDC context, HGDIOBJ object) {
    if (!context || !object) return nullptr;
    HGDIOBJ previous = SelectObject(context, object);
    return previous == HGDI_ERROR ? nullptr : previous;
}

}  // namespace

void OffscreenSurface::adoptPen(fw::Pen& pen) {
    HGDIOBJ previous = selectInto(handle(), pen.handle());
    if (!previous) return;  // the pen stays with its owner, who deletes it
    pen.release();
    if (savedPen_) {
        DeleteObject(previous);
    } else {
        savedPen_ = static_cast<HPEN>(previous);
    }
}

void OffscreenSurface::adoptBrush(fw::Brush& brush) {
    HGDIOBJ previous = selectInto(handle(), brush.handle());
    if (!previous) return;
    brush.release();
    if (savedBrush_) {
        DeleteObject(previous);
    } else {
        savedBrush_ = static_cast<HBRUSH>(previous);
    }
}

void OffscreenSurface::copyToWindow(HWND window, const RECT* target) const {
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
