#include "registrySettings.h"

#include "../app/ansiText.h"
#include "../app/resource.h"
#include "../app/unicodeText.h"
#include "../layout/headerFooter.h"
#include "../layout/layoutSettings.h"
#include "../print/pageMetrics.h"
#include "registryValues.h"

const char programKeyPath[] = "SOFTWARE\\dalvek\\pemoPrint";
const char editorKeyPath[] = "SOFTWARE\\dalvek\\pemo";
char openFilterPattern[OPEN_PATTERN_SIZE];
char defaultExtension[DEFAULT_EXTENSION_SIZE];

static_assert(sizeof(LOGFONTA) == LOGFONT_VALUE_SIZE, "the stored font description is 60 bytes");

namespace {

struct Key {
    HKEY handle = nullptr;
    ~Key() {
        if (handle) RegCloseKey(handle);
    }
    int openForReading(const char* path) {
        return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &handle) == ERROR_SUCCESS;
    }
    int openForWriting(const char* path) {
        return RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_WRITE, nullptr, &handle, nullptr) == ERROR_SUCCESS;
    }
};

// A value read whole with its type; anything larger than any setting is
// left unread (and so counts as missing). The registry keeps strings in
// UTF-16: they are read as code page 932 writes them, whatever the system's
// code page, as the editor's code page 932 wrote them in.
struct ReadValue {
    unsigned char bytes[512];
    unsigned char stored[2 * sizeof bytes];  // as the registry keeps it
    StoredValue value;
    int read(HKEY key, const char* name) {
        wchar_t wideName[32];
        widen(name, wideName, 32);
        DWORD type = 0, size = sizeof stored;
        if (RegQueryValueExW(key, wideName, nullptr, &type, stored, &size) != ERROR_SUCCESS) return 0;
        value = StoredValue{type, stored, size};
        if (type != REG_SZ) return size <= sizeof bytes;
        int length = size >= 2 ? wideTo932(reinterpret_cast<const uint16_t*>(stored), int(size / 2), reinterpret_cast<char*>(bytes),
                                            sizeof bytes) : 0;
        if (size >= 2 && !length) return 0;
        value = StoredValue{type, bytes, uint32_t(length)};
        return 1;
    }
};

void readFlag(HKEY key, const char* name, int32_t* flag) {
    ReadValue v;
    if (v.read(key, name)) decodeDword(v.value, flag);
}

void readString(HKEY key, const char* name, char* buffer, uint32_t size) {
    ReadValue v;
    if (v.read(key, name)) decodeString(v.value, buffer, size);
}

void readCheckedNumber(HKEY key, const char* name, int32_t* number, bool (*usable)(int32_t)) {
    ReadValue v;
    int32_t value = 0;
    if (v.read(key, name) && decodeDword(v.value, &value) && usable(value)) *number = value;
}

int writeValue(HKEY key, const char* name, DWORD type, const void* bytes, DWORD size) {
    wchar_t wideName[32];
    widen(name, wideName, 32);
    return RegSetValueExW(key, wideName, 0, type, static_cast<const BYTE*>(bytes), size) == ERROR_SUCCESS;
}

int writeDword(HKEY key, const char* name, int32_t value) {
    DWORD data = DWORD(value);
    return writeValue(key, name, REG_DWORD, &data, sizeof data);
}

// Code page 932 text, stored as UTF-16 as the system stores every string.
int writeString(HKEY key, const char* name, const char* text) {
    wchar_t wide[TEMPLATE_SIZE];
    int units = widen(text, wide, TEMPLATE_SIZE);
    return writeValue(key, name, REG_SZ, wide, DWORD(units + 1) * sizeof(wchar_t));
}

int writeBinary(HKEY key, const char* name, const void* bytes, DWORD size) {
    return writeValue(key, name, REG_BINARY, bytes, size);
}

struct TemplateValue {
    const char* name;
    char* text;
};

const TemplateValue* templateValues() {
    HeaderFooterSettings& s = headerFooterSettings;
    static const TemplateValue values[] = {
        {"header(left)", s.headerLeft},   {"header(center)", s.headerCenter},
        {"header(right)", s.headerRight}, {"footer(left)", s.footerLeft},
        {"footer(center)", s.footerCenter}, {"footer(right)", s.footerRight},
        {nullptr, nullptr},
    };
    return values;
}

void loadStringDefault(UINT id, char* buffer, int size) {
    wchar_t text[KINSOKU_SET_SIZE];
    loadText(id, text, KINSOKU_SET_SIZE);
    narrow(text, buffer, size);
}

}  // namespace

int loadProgramSettings() {
    Key key;
    if (!key.openForReading(programKeyPath)) return 0;
    HeaderFooterSettings& s = headerFooterSettings;
    readCheckedNumber(key.handle, "preview scale", &previewScale, isUsablePreviewScale);
    readFlag(key.handle, "print header", &s.printHeader);
    readFlag(key.handle, "print footer", &s.printFooter);
    readFlag(key.handle, "print line number", &s.printLineNumber);
    for (const TemplateValue* t = templateValues(); t->name; ++t) {
        readString(key.handle, t->name, t->text, TEMPLATE_SIZE);
    }
    return 1;
}

int loadEditorSettings() {
    LayoutSettings& s = layoutSettings;
    loadStringDefault(IDS_KINSOKU_LINE_START, s.kinsokuLineStart, KINSOKU_SET_SIZE);
    loadStringDefault(IDS_KINSOKU_HANGING, s.kinsokuHanging, KINSOKU_SET_SIZE);
    loadStringDefault(IDS_KINSOKU_LINE_END, s.kinsokuLineEnd, KINSOKU_SET_SIZE);
    loadStringDefault(IDS_TEXT_FILTER, openFilterPattern, OPEN_PATTERN_SIZE);
    loadStringDefault(IDS_DEFAULT_EXT, defaultExtension, DEFAULT_EXTENSION_SIZE);
    Key key;
    if (!key.openForReading(editorKeyPath)) return 0;
    // A tab stop every 0 columns would divide by zero in the layout.
    readCheckedNumber(key.handle, "tab count", &s.tabCount, isUsableTabCount);
    readFlag(key.handle, "word wraps", &s.wordWrap);
    readFlag(key.handle, "kinsoku", &s.kinsoku);
    readString(key.handle, "kinsoku1", s.kinsokuLineStart, KINSOKU_SET_SIZE);
    readString(key.handle, "kinsoku2", s.kinsokuHanging, KINSOKU_SET_SIZE);
    readString(key.handle, "kinsoku3", s.kinsokuLineEnd, KINSOKU_SET_SIZE);
    readString(key.handle, "text filter", openFilterPattern, OPEN_PATTERN_SIZE);
    readString(key.handle, "default ext", defaultExtension, DEFAULT_EXTENSION_SIZE);
    return 1;
}

int loadPageSettings(RECT* margins, HGLOBAL devMode, POINT* paperSize, int* marginsFound) {
    Key key;
    int opened = key.openForReading(programKeyPath);
    ReadValue v;
    MarginBox stored;
    int found = opened && v.read(key.handle, "margin") && decodeMargins(v.value, &stored);
    if (found) *margins = RECT{stored.left, stored.top, stored.right, stored.bottom};
    if (marginsFound) *marginsFound = found;

    int16_t orientation = 0;
    int hasOrientation = opened && v.read(key.handle, "orientation") &&
                         decodeOrientation(v.value, &orientation);
    DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(devMode));
    if (!mode) return opened;
    int printerTurns = mode->dmOrientation == ORIENTATION_PORTRAIT ||
                       mode->dmOrientation == ORIENTATION_LANDSCAPE;
    if (!hasOrientation || !printerTurns) {
        // The printer's own orientation is the one in use; one that reports
        // none is never turned.
        savedOrientation = mode->dmOrientation;
    } else {
        savedOrientation = orientation;
        if (orientation != mode->dmOrientation) {
            // The margins were stored with that orientation: only the sheet turns.
            mode->dmOrientation = orientation;
            mode->dmFields |= DM_ORIENTATION;
            LONG width = paperSize->x;
            paperSize->x = paperSize->y;
            paperSize->y = width;
        }
    }
    GlobalUnlock(devMode);
    return opened;
}

int loadFontSettings(LOGFONTA* logFont, int32_t* size) {
    Key key;
    if (!key.openForReading(programKeyPath)) return 0;
    ReadValue v;
    if (v.read(key.handle, "logfont")) decodeLogFont(v.value, reinterpret_cast<unsigned char*>(logFont));
    readCheckedNumber(key.handle, "point size", size, isUsablePointSize);
    return 1;
}

int saveFontSettings(const LOGFONTA* logFont, int32_t size) {
    Key key;
    if (!key.openForWriting(programKeyPath)) return 0;
    int written = writeBinary(key.handle, "logfont", logFont, LOGFONT_VALUE_SIZE);
    return writeDword(key.handle, "point size", size) && written;
}

int savePreviewScale() {
    Key key;
    if (!key.openForWriting(programKeyPath)) return 0;
    return writeDword(key.handle, "preview scale", previewScale);
}

int saveFormatSettings() {
    Key key;
    if (!key.openForWriting(programKeyPath)) return 0;
    const HeaderFooterSettings& s = headerFooterSettings;
    // Every value is tried, so one refused write loses no more than itself.
    int written = writeDword(key.handle, "print header", s.printHeader);
    written &= writeDword(key.handle, "print footer", s.printFooter);
    written &= writeDword(key.handle, "print line number", s.printLineNumber);
    for (const TemplateValue* t = templateValues(); t->name; ++t) {
        written &= writeString(key.handle, t->name, t->text);
    }
    return written;
}

int savePageSettings(const RECT* margins, HGLOBAL devMode) {
    // The sheet in use has turned whether or not it can be stored.
    int16_t orientation = 0;
    DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(devMode));
    if (mode) {
        orientation = savedOrientation = mode->dmOrientation;
        GlobalUnlock(devMode);
    }
    Key key;
    if (!key.openForWriting(programKeyPath)) return 0;
    unsigned char marginBytes[MARGIN_VALUE_SIZE];
    encodeMargins(MarginBox{margins->left, margins->top, margins->right, margins->bottom},
                  marginBytes);
    int written = writeBinary(key.handle, "margin", marginBytes, sizeof marginBytes);
    if (mode) {
        unsigned char orientationBytes[ORIENTATION_VALUE_SIZE];
        encodeOrientation(orientation, orientationBytes);
        written &= writeBinary(key.handle, "orientation", orientationBytes, sizeof orientationBytes);
    }
    return written;
}

// A setting the registry refused is lost at the next start: the user hears of it now.
void reportUnsavedSettings(HWND owner) {
    showStringMessage(owner, IDS_SAVE_FAILED, MB_ICONWARNING);
}
