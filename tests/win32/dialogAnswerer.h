// Answers the dialogs and message boxes that code under test opens on this
// thread, the way a user would.
#pragma once
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

// While alive, every dialog or message box this thread opens is handed to
// `answer`, which gives the command to answer it with (0: none).
struct DialogAnswerer {
    static inline std::function<WPARAM(HWND)> answer;
    HHOOK hook;
    explicit DialogAnswerer(std::function<WPARAM(HWND)> decide) {
        answer = decide;
        hook = SetWindowsHookExA(WH_CBT, cbt, nullptr, GetCurrentThreadId());
    }
    ~DialogAnswerer() { UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam) {
        char className[16] = "";
        HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && GetClassNameA(window, className, sizeof className) &&
            !strcmp(className, "#32770")) {
            if (WPARAM command = answer(window)) PostMessageA(window, WM_COMMAND, command, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

inline std::string textOf(HWND window) {
    char text[400] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}
