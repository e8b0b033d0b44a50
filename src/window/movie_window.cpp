#include "window/movie_window.h"

#include "movie/movie.h"
#include "window/message_pump.h"

MovieWindow::MovieWindow() = default;

MovieWindow::~MovieWindow() {
    movie_.reset();
    stopTimer();
}

void MovieWindow::setMovie(Movie* movie) { movie_.reset(movie); }

void MovieWindow::startTimer() {
    if (timerId_ || !handle()) return;
    timerId_ = SetTimer(handle(), kTimerId, kTimerPeriod, nullptr);
}

void MovieWindow::stopTimer() {
    if (!timerId_) return;
    // Without a window the timer has ended with it; a KillTimer on no window
    // could end a thread timer of the host's that happens to share the id.
    if (handle()) KillTimer(handle(), timerId_);
    timerId_ = 0;
}

void MovieWindow::applyCursor() {
    // Before the Movie exists the host's cursor stays; while the Movie holds
    // for a click, its own wait animation owns the cursor.
    if (movie_ && !movie_->isWaitingForClick()) CursorWindow::applyCursor();
}

void MovieWindow::onMouseEvent(int kind, WPARAM) {
    if (kind != kLeftButtonDown || !movie_) return;
    if (movie_->click()) startTimer();
}

LRESULT MovieWindow::onPaint(fw::Message& message) {
    RECT update;
    if (!GetUpdateRect(message.window, &update, FALSE)) return 0;
    Hold hold(*this);
    PAINTSTRUCT paint;
    BeginPaint(message.window, &paint);
    if (movie_) movie_->repaintCurrentFrame(movie_->getBounds());
    ValidateRect(message.window, nullptr);
    EndPaint(message.window, &paint);
    return 0;
}

LRESULT MovieWindow::onTimer(fw::Message& message) {
    if (message.wParam != kTimerId || !movie_ || ticking_) return 0;
    Hold hold(*this);
    ticking_ = true;
    if (!movie_->tick(movie_->getBounds())) stopTimer();
    // The pump runs after every step, also when the step has just stopped the
    // timer, and also after the host has ended the instance inside the step:
    // the backlog of the thread is worked off either way.
    if (pumpMessages()) stopTimer();
    ticking_ = false;
    return 0;
}

void MovieWindow::windowDestroyed() {
    timerId_ = 0;
    if (movie_) movie_->retire();
}

const fw::MessageTable* MovieWindow::messageTable() const {
    static const fw::MessageEntry entries[] = {
        {WM_PAINT, fw::handler(&MovieWindow::onPaint)},
        {WM_TIMER, fw::handler(&MovieWindow::onTimer)},
    };
    static const fw::MessageTable table = fw::makeMessageTable(entries, CursorWindow::cursorMessageTable());
    return &table;
}

MovieWindow::Hold::Hold(MovieWindow& window) : window_(window) { ++window_.holds_; }

MovieWindow::Hold::~Hold() {
    if (--window_.holds_ == 0 && window_.disposed_) delete &window_;
}

void MovieWindow::dispose(MovieWindow* window) {
    if (!window) return;
    if (window->holds_ > 0)
        window->disposed_ = true;
    else
        delete window;
}
