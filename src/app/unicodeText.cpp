#include "unicodeText.h"

#include "../document/documentNames.h"
#include "appInstance.h"

int widen(const char* bytes, int count, wchar_t* out, int outUnits) {
    if (outUnits <= 0) return 0;
    int units = count > 0 ? MultiByteToWideChar(932, 0, bytes, count, out, outUnits - 1) : 0;
    if (units < 0) units = 0;
    out[units] = L'\0';
    return units;
}

int widen(const char* text, wchar_t* out, int outUnits) {
    return widen(text, lstrlenA(text), out, outUnits);
}

void narrow(const wchar_t* text, char* out, int outSize) {
    writeCodePageName(reinterpret_cast<const uint16_t*>(text), out, outSize);
}

void loadText(UINT id, wchar_t* out, int outUnits) {
    out[0] = L'\0';
    LoadStringW(appInstance, id, out, outUnits);
}

int showMessage(HWND owner, const wchar_t* text, UINT style) {
    return MessageBoxW(owner, text, L"pemoPrint", style);
}

int showStringMessage(HWND owner, UINT id, UINT style) {
    wchar_t text[256];
    loadText(id, text, 256);
    return showMessage(owner, text, style);
}
