#pragma once
// The window object through which an instance lives in the page: it takes
// over the host's window, owns the Movie, paints its current frame, drives
// playback with a timer and answers clicks.
#include <windows.h>

#include <memory>

#include "core/timeline/playback_rules.h"
#include "window/cursor_window.h"

class Movie;

class MovieWindow : public CursorWindow {
public:
    static constexpr UINT_PTR kTimerId = 1000;
    static constexpr UINT kTimerPeriod = playback::kTimerPeriod;

    MovieWindow();
    // Deletes the Movie, stops the timer and releases the cursors.
    ~MovieWindow() override;

    // The window owns the Movie from now on.
    void setMovie(Movie* movie);
    Movie* movie() const { return movie_.get(); }

    // Nothing happens while the timer runs, nor without a window to time.
    void startTimer();
    void stopTimer();
    UINT_PTR timerId() const { return timerId_; }

    void applyCursor() override;
    void onMouseEvent(int kind, WPARAM flags) override;

    // The host may end the instance from inside a message loop that runs
    // while the window object is in use further up the stack: in the timer
    // handler's pump, or in a message box shown while a frame is drawn or a
    // chunk is parsed. A Hold keeps the object (and its Movie) alive until
    // that code has returned; dispose() deletes it at once when nothing
    // holds it, else when the last Hold ends.
    class Hold {
    public:
        explicit Hold(MovieWindow& window);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        MovieWindow& window_;
    };
    static void dispose(MovieWindow* window);
    bool isDisposed() const { return disposed_; }

protected:
    const fw::MessageTable* messageTable() const override;
    // The host destroyed its window: the timer went with it, and the Movie
    // has nothing left to draw into.
    void windowDestroyed() override;

private:
    LRESULT onPaint(fw::Message& message);
    LRESULT onTimer(fw::Message& message);

    std::unique_ptr<Movie> movie_;
    UINT_PTR timerId_ = 0;
    int holds_ = 0;
    bool disposed_ = false;
    // Set while a timer message is being handled, so that a timer message
    // dispatched by its own pump does not step the Movie again.
    bool ticking_ = false;
};
