#pragma once

// Dispatches every message waiting in the calling thread's queue, for any
// window. Returns 1 as soon as an ESC character (WM_CHAR 27) has been
// dispatched, leaving the rest queued; 0 when the queue is empty.
int pumpMessages();
