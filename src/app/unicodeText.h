// The program's texts through the Unicode calls, so that they read the same
// on a system of any language: code page 932 text widened by the program's
// own word (not the system's code page), and the string table as stored.
#pragma once
#include <windows.h>

// Code page 932 text (NUL-terminated, or `count` bytes) into out, which
// holds a unit for every byte and the terminator (a byte never gives more
// than one). Gives the units written before the terminator; out is empty
// when it was too small.
int widen(const char* text, wchar_t* out, int outUnits);
int widen(const char* bytes, int count, wchar_t* out, int outUnits);

// UTF-16 text into code page 932 as it writes it: "?" for what it lacks,
// cut to whole characters in outSize bytes.
void narrow(const wchar_t* text, char* out, int outSize);

// String `id` of the program's string table, cut to outUnits.
void loadText(UINT id, wchar_t* out, int outUnits);

// A message box captioned "pemoPrint".
int showMessage(HWND owner, const wchar_t* text, UINT style);
// The same, showing string `id` of the string table.
int showStringMessage(HWND owner, UINT id, UINT style);
