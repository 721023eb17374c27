#include "messageLoop.h"

BOOL(WINAPI* getMessage)(LPMSG, HWND, UINT, UINT) = GetMessageA;

int runMessageLoop(HWND window, HACCEL accelerators) {
    MSG message = {};
    BOOL result;
    while ((result = getMessage(&message, nullptr, 0, 0)) > 0) {
        if (TranslateAcceleratorA(window, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return result == 0 ? int(message.wParam) : 1;
}
