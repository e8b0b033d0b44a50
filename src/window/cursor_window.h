#pragma once
// A window object with a pair of cursors of its own, which turns the mouse
// messages it sees into two hooks for derived classes.
#include <windows.h>

#include "framework/window_object.h"

class CursorWindow : public fw::WindowObject {
public:
    // The kinds of mouse event handed to onMouseEvent.
    enum MouseEventKind { kMouseMove = 2, kLeftButtonDown = 3 };
    // The module's cursor resources that the plug-in hands to setCursors.
    static constexpr int kArrowCursorResource = 104;
    static constexpr int kHandCursorResource = 103;

    CursorWindow() = default;
    // Releases the two cursors handed over with setCursors.
    ~CursorWindow() override;

    // The window owns both cursors from now on.
    void setCursors(HCURSOR arrow, HCURSOR hand);
    void useArrowCursor();

    // Shows the current cursor, when there is one.
    virtual void applyCursor();
    // Called for every mouse move (flags 0) and left-button press (the
    // message's key-state flags); the message then goes on to the previous
    // procedure.
    virtual void onMouseEvent(int kind, WPARAM flags);

    HCURSOR arrowCursor() const { return arrowCursor_; }
    HCURSOR handCursor() const { return handCursor_; }
    HCURSOR currentCursor() const { return currentCursor_; }

    static const fw::MessageTable* cursorMessageTable();

protected:
    const fw::MessageTable* messageTable() const override;

private:
    LRESULT onMouseMove(fw::Message& message);
    LRESULT onSetCursor(fw::Message& message);
    LRESULT onLeftButtonDown(fw::Message& message);

    HCURSOR arrowCursor_ = nullptr;
    HCURSOR handCursor_ = nullptr;
    HCURSOR currentCursor_ = nullptr;
};
