#include "surface_snapshot.h"

#include <algorithm>
#include <cstdio>

#include "core/tables/color_table.h"

Snapshot::Snapshot(HDC source, int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {
    // GetDIBits wants a bitmap that no context holds: copy into one first.
    HBITMAP copy = CreateCompatibleBitmap(source, width, height);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory, copy, 0, static_cast<UINT>(height), pixels_.data(), &info, DIB_RGB_COLORS);
    DeleteDC(memory);
    DeleteObject(copy);
    for (uint32_t& pixel : pixels_) pixel &= 0x00FFFFFF;
}

int Snapshot::count(uint32_t rgb, const RECT& area) const {
    int n = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(height_, area.bottom); ++y) {
        for (int x = std::max(0L, area.left); x < std::min<LONG>(width_, area.right); ++x) {
            n += at(x, y) == rgb;
        }
    }
    return n;
}

RECT Snapshot::boundsOf(uint32_t rgb) const {
    RECT bounds{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (at(x, y) != rgb) continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    if (bounds.right == 0) bounds = RECT{0, 0, 0, 0};
    return bounds;
}

uint32_t rgbOfIndex(int colorIndex) { return rgbOf(colorForIndex(colorIndex)); }

void paint(HDC context, const RECT& area, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(context, &area, brush);
    DeleteObject(brush);
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(value));
    return text;
}

std::string str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}
