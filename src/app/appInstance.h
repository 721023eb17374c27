#pragma once
#include <windows.h>

// The module whose resources (strings, menus, dialogs, icon) the program loads.
extern HINSTANCE appInstance;
