#pragma once
#include <windows.h>

// Disabling a window takes the keyboard focus away and enabling it does not
// give it back: without this the keys would go nowhere after a load or a
// print job. Gives the focus back, when nothing holds it, on every way out.
struct FocusKeeper {
    HWND focus = GetFocus();
    ~FocusKeeper() {
        if (focus && !GetFocus()) SetFocus(focus);
    }
};
