// Files dropped on the preview or pasted from the clipboard: one is shown,
// several are printed after one question.
#pragma once
#include <windows.h>

void dropFilesCommand(HWND window, HDROP drop);
void pasteCommand(HWND window);

// Loads the named document (nameDocument) and prints all of it on the current printer without a
// dialog; gives 0 when the batch must stop (the job failed or was cancelled).
int printFileAtOnce(HWND window);
