#pragma once
// The desktop player's window: the movie's picture scaled by whole pixels
// (never blurred), the plug-in's cursors, full screen, and the window's own
// pixels for a snapshot.
#include <SDL.h>

#include <string>

#include "core/raster/image.h"

namespace vxa::tool {

class DesktopWindow {
public:
    // Fails when no window can be opened (no display).
    DesktopWindow(const std::string& title, int width, int height, int scale);
    ~DesktopWindow();
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

    // A new movie in the same window.
    void resize(const std::string& title, int width, int height, int scale);
    void show(const raster::Image& picture);
    // Draws the last picture again (after the window changed size).
    void present();
    // A cursor of the plug-in's resources (104 arrow, 109 and 110 waiting).
    void setCursor(int resource);
    void toggleFullScreen();
    // The window's pixels as they are now, as PNG.
    void snapshot(const std::string& path);

private:
    void makeTexture(int width, int height);
    void draw();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* cursors_[3] = {nullptr, nullptr, nullptr};
    int cursorShown_ = 0;
};

}  // namespace vxa::tool
