#pragma once
// One plug-in instance played in a window of its own, as a browser page with
// one embedded movie: the instance's life, the stream delivered in chunks
// from the host's own message loop, and the clicks, keys, pictures and end
// that the command line asks for at their times.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "event_log.h"
#include "install_directory.h"
#include "options.h"
#include "plugin/npapi.h"
#include "window_recorder.h"

class Player {
public:
    Player(const Options& options, const NPPluginFuncs& plugin, std::vector<uint8_t> movie, int width, int height);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    bool createWindows();
    // NPP_New, NPP_SetWindow, NPP_NewStream and the first chunks.
    void start();
    // Until the window is closed or the --for time is over.
    void run();
    // NPP_Destroy, when the instance is still there.
    void endInstance(bool fromPump = false);

private:
    static LRESULT CALLBACK frameProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
    void service();
    void deliverChunks(int now);
    void endStream();
    void prepareForStep();
    void record(int now);
    void click();
    void fitPluginWindow();
    void setWindow();

    Options options_;
    NPPluginFuncs plugin_;
    EventLog& log_;
    std::vector<uint8_t> movie_;
    int width_;
    int height_;

    HWND frame_ = nullptr;
    HWND pluginWindow_ = nullptr;
    // The embedding window's own procedure, to tell whether the plug-in gave
    // the window back at its end.
    LONG_PTR pluginWindowProcedure_ = 0;
    NPP_t instance_{};
    bool alive_ = false;
    bool ended_ = false;
    NPWindow window_{};
    NPStream stream_{};
    std::string url_;
    std::vector<std::string> attributeNames_;
    std::vector<std::string> attributeValues_;

    size_t sent_ = 0;
    int nextChunkAt_ = 0;
    int endStreamAt_ = -1;
    bool streamEnded_ = false;

    size_t nextClick_ = 0;
    size_t nextEscape_ = 0;
    size_t nextSnapshot_ = 0;
    int escapesArmed_ = 0;
    bool destroyDone_ = false;
    bool destroyArmed_ = false;
    bool inPluginStep_ = false;
    bool finished_ = false;
    std::unique_ptr<WindowRecorder> recorder_;
    // The browser's installation folder in the registry, held until the
    // plug-in has taken the stream's header (when it reads the value).
    std::unique_ptr<InstallDirectory> installation_;
    size_t headerBytes_ = SIZE_MAX;
};
