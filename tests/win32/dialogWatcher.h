// Answers the modal dialogs and message boxes that code under test opens on
// this thread, and remembers what they said.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct SeenDialog {
    std::string caption;
    std::string text;  // a message box's text (its static control 0xFFFF)
};

class DialogWatcher {
public:
    explicit DialogWatcher(int answer = IDOK);
    ~DialogWatcher();
    const std::vector<SeenDialog>& seen() const { return dialogs; }

private:
    static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook;
    int answer;
    std::vector<SeenDialog> dialogs;
    static DialogWatcher* active;
};
