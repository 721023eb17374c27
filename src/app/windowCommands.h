// The bodies of the preview window's commands: print, page setup, font,
// zoom and the context menu.
#pragma once
#include <windows.h>

#include <cstdint>

extern HMENU popupMenu;

// After the print dialog's OK: its printer becomes the current one, the
// layout follows its paper, and the chosen pages are printed.
void printWithDialogChoices(HWND window);
void printCommand(HWND window);
void pageSetupCommand(HWND window);
void fontCommand(HWND window);
void zoomCommand(HWND window, int32_t scale);
void showContextMenu(HWND window, POINT at);
void contextMenuAtCorner(HWND window);
// Marks the item of the scale in force; gives 0 when no item has that scale.
int zoomRadioMark(HMENU submenu);
