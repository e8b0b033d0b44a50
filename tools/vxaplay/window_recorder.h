#pragma once
// Reads back what a window shows and saves pictures of it as PNG files: on
// request (snapshots) or whenever the picture has changed since the last
// look (a recording).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class WindowPicture {
public:
    // The window's client area now, as 8-bit RGB rows from the top.
    static WindowPicture capture(HWND window);
    bool empty() const { return pixels_.empty(); }
    bool operator==(const WindowPicture& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }
    bool savePng(const std::string& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

class WindowRecorder {
public:
    // Files go to `folder` as NNNNN-MS.png, NNNNN counting from 00001.
    explicit WindowRecorder(std::string folder);
    // Saves the picture when it differs from the last one saved; returns its
    // number, or 0 when nothing changed.
    int look(HWND window, int ms);

private:
    std::string folder_;
    WindowPicture last_;
    int count_ = 0;
};
