#include "window/message_pump.h"

#include <windows.h>

int pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit request belongs to the host's own loop: put it back and
            // stop draining, or the host would never end.
            PostQuitMessage(static_cast<int>(message.wParam));
            return 0;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (message.message == WM_CHAR && message.wParam == 27) return 1;
    }
    return 0;
}
