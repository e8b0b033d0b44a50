#include "window_recorder.h"

#include <cstdio>

#include "png_file.h"

WindowPicture WindowPicture::capture(HWND window) {
    WindowPicture picture;
    RECT client;
    if (!window || !GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return picture;
    const int width = client.right;
    const int height = client.bottom;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        const auto* bgrx = static_cast<const uint8_t*>(bits);
        picture.width_ = width;
        picture.height_ = height;
        picture.pixels_.resize(static_cast<size_t>(width) * height * 3);
        for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
            picture.pixels_[3 * i] = bgrx[4 * i + 2];
            picture.pixels_[3 * i + 1] = bgrx[4 * i + 1];
            picture.pixels_[3 * i + 2] = bgrx[4 * i];
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(window, source);
    return picture;
}

bool WindowPicture::savePng(const std::string& path) const {
    return !empty() && writePng(path, width_, height_, pixels_.data());
}

WindowRecorder::WindowRecorder(std::string folder) : folder_(std::move(folder)) {}

int WindowRecorder::look(HWND window, int ms) {
    WindowPicture now = WindowPicture::capture(window);
    if (now.empty() || now == last_) return 0;
    ++count_;
    char name[64];
    std::snprintf(name, sizeof name, "\\%05d-%d.png", count_, ms);
    now.savePng(folder_ + name);
    last_ = std::move(now);
    return count_;
}
