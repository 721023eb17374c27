// The settings in the registry: the program's own key (read and written) and
// the sibling editor's key (read only).
#pragma once
#include <windows.h>

#include <cstdint>

enum { OPEN_PATTERN_SIZE = 128, DEFAULT_EXTENSION_SIZE = 4 };

extern const char programKeyPath[];
extern const char editorKeyPath[];
extern char openFilterPattern[OPEN_PATTERN_SIZE];
extern char defaultExtension[DEFAULT_EXTENSION_SIZE];

int loadProgramSettings();
int loadEditorSettings();
// marginsFound, when given, tells whether "margin" was stored.
int loadPageSettings(RECT* margins, HGLOBAL devMode, POINT* paperSize, int* marginsFound = nullptr);
int loadFontSettings(LOGFONTA* logFont, int32_t* pointSize);
// The saves give 0 when the key could not be created or a value not written.
int saveFontSettings(const LOGFONTA* logFont, int32_t pointSize);
int savePreviewScale();
int saveFormatSettings();
int savePageSettings(const RECT* margins, HGLOBAL devMode);
void reportUnsavedSettings(HWND owner);
