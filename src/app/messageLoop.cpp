#include "messageLoop.h"

int runMessageLoop(HWND window, HACCEL accelerators) {
    MSG message = {};
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (TranslateAcceleratorA(window, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return result == 0 ? int(message.wParam) : 1;
}
