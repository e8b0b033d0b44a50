#include "window/cursor_window.h"

CursorWindow::~CursorWindow() {
    if (handCursor_) DestroyCursor(handCursor_);
    if (arrowCursor_) DestroyCursor(arrowCursor_);
}

void CursorWindow::setCursors(HCURSOR arrow, HCURSOR hand) {
    arrowCursor_ = arrow;
    handCursor_ = hand;
}

void CursorWindow::useArrowCursor() {
    currentCursor_ = arrowCursor_;
    applyCursor();
}

void CursorWindow::applyCursor() {
    if (currentCursor_) SetCursor(currentCursor_);
}

void CursorWindow::onMouseEvent(int, WPARAM) {}

LRESULT CursorWindow::onMouseMove(fw::Message& message) {
    onMouseEvent(kMouseMove, 0);
    message.passOn = true;
    return 0;
}

// Handled whatever the hit-test code, so that the host's procedure never
// puts its own cursor over ours.
LRESULT CursorWindow::onSetCursor(fw::Message&) {
    applyCursor();
    return TRUE;
}

LRESULT CursorWindow::onLeftButtonDown(fw::Message& message) {
    onMouseEvent(kLeftButtonDown, message.wParam);
    message.passOn = true;
    return 0;
}

const fw::MessageTable* CursorWindow::cursorMessageTable() {
    static const fw::MessageEntry entries[] = {
        {WM_MOUSEMOVE, fw::handler(&CursorWindow::onMouseMove)},
        {WM_SETCURSOR, fw::handler(&CursorWindow::onSetCursor)},
        {WM_LBUTTONDOWN, fw::handler(&CursorWindow::onLeftButtonDown)},
    };
    static const fw::MessageTable table = fw::makeMessageTable(entries, fw::WindowObject::baseMessageTable());
    return &table;
}

const fw::MessageTable* CursorWindow::messageTable() const { return cursorMessageTable(); }
