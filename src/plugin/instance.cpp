// The plug-in callbacks: an instance's whole life, from its record through
// its window and stream to its end.
#include <windows.h>

#include <new>

#include "framework/application.h"
#include "movie/movie.h"
#include "plugin/callbacks.h"
#include "plugin/messages.h"
#include "plugin/plugin_instance.h"
#include "plugin/report.h"
#include "window/movie_window.h"

namespace {

constexpr int32_t kWriteReadyBytes = 0x0FFFFFFF;

PluginInstance* recordOf(NPP instance) { return static_cast<PluginInstance*>(instance->pdata); }

void freeRecord(PluginInstance* record) {
    NPNetscapeFuncs* host = hostFunctions();
    if (host && host->memfree) host->memfree(record);
}

// Subclassing binds to any handle; only a live window of the calling thread
// can really be taken over (the host calls us on the thread that owns it).
bool canTakeOver(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

void repaintNow(const MovieWindow& window) {
    const HWND handle = window.handle();
    if (!handle) return;  // never attached, or the host's window is gone
    InvalidateRect(handle, nullptr, FALSE);
    UpdateWindow(handle);
}

void releaseWindow(PluginInstance& record) {
    MovieWindow* window = record.movieWindow;
    if (!window) return;
    record.movieWindow = nullptr;
    window->stopTimer();
    window->restorePreviousProcedure();
    window->detach();
    MovieWindow::dispose(window);
}

void feedMovie(const PluginInstance& record, Movie& movie) {
    try {
        movie.appendChunk(record.chunkData, record.chunkLength);
    } catch (const std::bad_alloc&) {
        if (!record.destroying) reportError(messages::kNotEnoughMemory);
    }
}

// The first chunk builds the Movie; later ones feed it and start playback.
// False when the chunk could not be taken.
bool takeChunk(PluginInstance& record) {
    MovieWindow& window = *record.movieWindow;
    MovieWindow::Hold hold(window);
    if (!record.movie) {
        // A Movie bound to no window would draw on the whole screen.
        if (!window.handle()) return true;
        Movie* movie = nullptr;
        try {
            movie = new Movie(nullptr, 0, window);
        } catch (const std::bad_alloc&) {
            reportError(messages::kNotEnoughMemory);
            return false;
        }
        // Known to the instance before it takes the chunk: an end of the
        // instance inside a box of the intake retires it.
        window.setMovie(movie);
        record.movie = movie;
        movie->resetPlayback();
        feedMovie(record, *movie);
        if (!record.destroying) record.movieRect = movie->getBounds();
        return true;
    }
    if (record.chunkLength > 0) {
        feedMovie(record, *record.movie);
        if (!record.destroying) window.startTimer();
    }
    return true;
}

void endOfStream(PluginInstance& record) {
    if (record.movie && record.movieWindow) record.movieWindow->startTimer();
}

}  // namespace

NPError NPP_Initialize() { return NPERR_NO_ERROR; }

void NPP_Shutdown() {}

NPError NPP_New(NPMIMEType, NPP instance, uint16_t mode, int16_t, char**, char**, NPSavedData*) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    NPNetscapeFuncs* host = hostFunctions();
    void* memory = host && host->memalloc ? host->memalloc(sizeof(PluginInstance)) : nullptr;
    instance->pdata = memory;
    if (!memory) return NPERR_OUT_OF_MEMORY_ERROR;
    auto* record = static_cast<PluginInstance*>(memory);
    *record = PluginInstance{};
    record->mode = mode;
    record->movieRect = kInitialMovieRect;
    return NPERR_NO_ERROR;
}

NPError NPP_Destroy(NPP instance, NPSavedData**) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    PluginInstance* record = recordOf(instance);
    if (!record) return NPERR_NO_ERROR;
    record->destroying = 1;
    // Code of this instance may still be running under a box further up the
    // stack: it must draw, play and tell nothing more when it gets back.
    if (record->movie) record->movie->retire();
    releaseWindow(*record);
    record->movie = nullptr;
    instance->pdata = nullptr;
    if (!record->writing) freeRecord(record);
    return NPERR_NO_ERROR;
}

NPError NPP_SetWindow(NPP instance, NPWindow* window) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    if (!window) return NPERR_GENERIC_ERROR;
    PluginInstance* record = recordOf(instance);
    if (!record) return NPERR_GENERIC_ERROR;

    if (!record->movieWindow) {
        const HWND handle = static_cast<HWND>(window->window);
        if (!handle) return NPERR_NO_ERROR;
        MovieWindow* movieWindow = nullptr;
        try {
            movieWindow = new MovieWindow;
        } catch (const std::bad_alloc&) {
            // Nothing is kept: a later call with a handle tries again.
            reportError(messages::kNotEnoughMemory);
            return NPERR_OUT_OF_MEMORY_ERROR;
        }
        record->hostWindow = window;
        record->movieWindow = movieWindow;
        if (!canTakeOver(handle) || !movieWindow->subclass(handle)) {
            fw::Application::instance().showMessageBox(messages::kSubclassFailed,
                                                       messages::kSubclassFailedCaption, MB_OK);
            return NPERR_GENERIC_ERROR;
        }
        const HINSTANCE module = fw::Application::instance().moduleHandle();
        movieWindow->setCursors(LoadCursorA(module, MAKEINTRESOURCEA(CursorWindow::kArrowCursorResource)),
                                LoadCursorA(module, MAKEINTRESOURCEA(CursorWindow::kHandCursorResource)));
        movieWindow->useArrowCursor();
    }
    // Later handles are not followed: the first window stays the movie's.
    repaintNow(*record->movieWindow);
    return NPERR_NO_ERROR;
}

NPError NPP_NewStream(NPP instance, NPMIMEType, NPStream*, NPBool, uint16_t* streamType) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    if (streamType) *streamType = NP_NORMAL;
    if (PluginInstance* record = recordOf(instance)) {
        record->streamOpen = 1;
        record->streamStartTick = GetTickCount();
    }
    return NPERR_NO_ERROR;
}

NPError NPP_DestroyStream(NPP instance, NPStream*, NPReason reason) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    PluginInstance* record = recordOf(instance);
    if (!record || reason != NPRES_DONE) return NPERR_NO_ERROR;
    record->streamOpen = 0;
    record->streamEndTick = GetTickCount();
    endOfStream(*record);
    return NPERR_NO_ERROR;
}

void NPP_StreamAsFile(NPP, NPStream*, const char*) {}

int32_t NPP_WriteReady(NPP, NPStream*) { return kWriteReadyBytes; }

int32_t NPP_Write(NPP instance, NPStream*, int32_t, int32_t length, void* buffer) {
    if (!instance) return 0;
    PluginInstance* record = recordOf(instance);
    if (!record || !record->movieWindow) return 0;
    // A chunk offered from inside another one's message box waits with the
    // host: taking it now would cut into the chunk still being parsed.
    if (record->writing) return 0;
    if (length < 0 || (length > 0 && !buffer)) return 0;

    record->writing = 1;
    record->chunkData = static_cast<const uint8_t*>(buffer);
    record->chunkLength = length;
    const bool taken = takeChunk(*record);
    record->chunkData = nullptr;
    record->chunkLength = 0;
    record->writing = 0;
    if (record->destroying) freeRecord(record);  // ended from inside this call
    return taken ? length : 0;
}

void NPP_Print(NPP instance, NPPrint* request) {
    if (!instance || !request) return;
    // The request's own mode says which member of its union is there.
    if (request->mode == NP_FULL) request->print.fullPrint.pluginPrinted = false;
}
