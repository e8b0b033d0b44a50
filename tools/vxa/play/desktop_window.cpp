#include "play/desktop_window.h"

#include <array>
#include <cstdint>
#include <vector>

#include "png_picture.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

struct CursorArt {
    int resource, hotX, hotY;
    std::array<const char*, 32> rows;  // '#' black, '.' white, ' ' clear
};

// Made at build time from the module's own cursor drawings.
const CursorArt kCursors[] = {
#include "cursors.inc"
};

SDL_Cursor* makeCursor(const CursorArt& art) {
    // SDL's monochrome cursors: data 1 mask 1 black, data 0 mask 1 white.
    std::vector<Uint8> data(32 * 4, 0), mask(32 * 4, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const char c = art.rows[static_cast<size_t>(y)][x];
            const Uint8 bit = static_cast<Uint8>(0x80 >> (x % 8));
            if (c != ' ') mask[static_cast<size_t>(y * 4 + x / 8)] |= bit;
            if (c == '#') data[static_cast<size_t>(y * 4 + x / 8)] |= bit;
        }
    }
    return SDL_CreateCursor(data.data(), mask.data(), 32, 32, art.hotX, art.hotY);
}

[[noreturn]] void sdlFailure(const std::string& what) { fail(what + ": " + SDL_GetError()); }

}  // namespace

DesktopWindow::DesktopWindow(const std::string& title, int width, int height, int scale) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) sdlFailure("no display for the window (is DISPLAY set?)");
    // A click that gives the window its focus is still a click into the
    // movie, as in the plug-in's window; without this SDL drops a click that
    // it reads just after the focus came.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Whole pixels only: a scaled picture is never smoothed.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale,
                               height * scale, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (!window_) sdlFailure("cannot open the window");
    // Shown only once it can draw: making the renderer may make the window
    // anew, and a window shown before would flash and vanish.
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) sdlFailure("cannot draw in the window");
    SDL_ShowWindow(window_);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    makeTexture(width, height);
    for (size_t i = 0; i < std::size(kCursors); ++i) cursors_[i] = makeCursor(kCursors[i]);
}

DesktopWindow::~DesktopWindow() {
    for (SDL_Cursor* cursor : cursors_) {
        if (cursor) SDL_FreeCursor(cursor);
    }
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

void DesktopWindow::makeTexture(int width, int height) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!texture_) sdlFailure("cannot hold a picture of " + std::to_string(width) + " x " + std::to_string(height));
    SDL_RenderSetLogicalSize(renderer_, width, height);
}

void DesktopWindow::resize(const std::string& title, int width, int height, int scale) {
    SDL_SetWindowTitle(window_, title.c_str());
    if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP)) {
        SDL_SetWindowSize(window_, width * scale, height * scale);
    }
    makeTexture(width, height);
}

void DesktopWindow::show(const raster::Image& picture) {
    // The picture's 0x00RRGGBB pixels are the texture's format as they are.
    SDL_UpdateTexture(texture_, nullptr, picture.pixels.data(), picture.width * 4);
    present();
}

void DesktopWindow::draw() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
}

void DesktopWindow::present() {
    draw();
    SDL_RenderPresent(renderer_);
}

void DesktopWindow::setCursor(int resource) {
    if (resource == cursorShown_) return;
    for (size_t i = 0; i < std::size(kCursors); ++i) {
        if (kCursors[i].resource == resource && cursors_[i]) {
            SDL_SetCursor(cursors_[i]);
            cursorShown_ = resource;
        }
    }
}

void DesktopWindow::toggleFullScreen() {
    const bool full = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    present();
}

void DesktopWindow::snapshot(const std::string& path) {
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0) sdlFailure("cannot read the window");
    raster::Image picture(width, height);
    // Read from a frame drawn afresh: what a presented frame leaves behind
    // is not defined.
    draw();
    if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB888, picture.pixels.data(), width * 4) != 0) {
        sdlFailure("cannot read the window");
    }
    SDL_RenderPresent(renderer_);
    writePngPicture(path, picture);
}

}  // namespace vxa::tool
