#include "dialogWatcher.h"

DialogWatcher* DialogWatcher::active = nullptr;

DialogWatcher::DialogWatcher(int answerWith) : answer(answerWith) {
    active = this;
    hook = SetWindowsHookExA(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
}

DialogWatcher::~DialogWatcher() {
    UnhookWindowsHookEx(hook);
    active = nullptr;
}

static std::string windowText(HWND window) {
    char text[1024] = "";
    if (window) GetWindowTextA(window, text, sizeof text);
    return text;
}

LRESULT CALLBACK DialogWatcher::onCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && active) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[64] = "";
        GetClassNameA(window, className, sizeof className);
        if (!lstrcmpA(className, "#32770")) {
            active->dialogs.push_back({windowText(window), windowText(GetDlgItem(window, 0xFFFF))});
            PostMessageA(window, WM_COMMAND, active->answer, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
