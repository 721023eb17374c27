// The open-file dialog: its list of file types, built once when the main
// window is created, and the record that lives for the process, so that the
// file type the user picked is preselected the next time.
#pragma once
#include <windows.h>

enum { OPEN_FILTER_LIST_SIZE = 192 };

void prepareOpenDialog(HWND owner);
// Gives true when the user chose a file; its whole name is then in `path`
// (260 units), which otherwise keeps what it held. The dialog starts in the
// folder of the name `path` holds.
bool chooseDocumentFile(HWND owner, wchar_t* path);
// The open command: choose, load and repaint.
void openCommand(HWND window);
