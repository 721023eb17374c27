#include "headerFooter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "../document/documentNames.h"
#include "leadByte.h"

HeaderFooterSettings headerFooterSettings = {};
char pageNumberText[NUMBER_TEXT_SIZE];
char pageCountText[NUMBER_TEXT_SIZE];

namespace {

struct Output {
    char* at;
    int32_t space;  // bytes left, the terminator's place included

    // Appends the piece whole if it leaves room for the terminator.
    bool append(const char* piece, size_t length) {
        if (length >= size_t(space)) return false;
        memcpy(at, piece, length);
        at += length;
        space -= int32_t(length);
        return true;
    }
};

const char* replacementFor(char code) {
    switch (code) {
    case 'D': return dateText;
    case 'T': return timeText;
    case 'P': return pageNumberText;
    case 'A': return pageCountText;
    case 'F': return documentTitle;
    case 'U': return documentPath;
    case '&': return "&";
    default: return nullptr;
    }
}

// The next "&" at or after p, stepping over double-byte characters; or null.
const char* findAmpersand(const char* p) {
    while (*p && *p != '&') p += isDoubleByte(p) ? 2 : 1;
    return *p ? p : nullptr;
}

}  // namespace

void expandTemplate(const char* templateText, char* out, int32_t outSize) {
    if (outSize <= 0) return;
    Output output{out, outSize};
    const char* p = templateText;
    for (;;) {
        const char* ampersand = findAmpersand(p);
        if (!ampersand) {
            output.append(p, strlen(p));
            break;
        }
        if (!output.append(p, size_t(ampersand - p))) break;
        const char* replacement = replacementFor(ampersand[1]);
        if (replacement) {
            // A replacement that does not fit ends the expansion: nothing is cut.
            if (!output.append(replacement, strlen(replacement))) break;
            p = ampersand + 2;
        } else {
            p = ampersand + 1;  // the "&" is dropped, the next character stays
        }
    }
    *output.at = '\0';
}

void setPageNumberTexts(int32_t pageNumber, int32_t pageCount) {
    snprintf(pageNumberText, sizeof pageNumberText, "%d", pageNumber);
    snprintf(pageCountText, sizeof pageCountText, "%d", std::max(pageCount, 1));
}

void copyWholeCharacters(char* out, const char* text, int32_t size) {
    if (size <= 0) return;
    int32_t length = 0;
    while (text[length]) {
        int32_t width = isDoubleByte(text + length) ? 2 : 1;
        if (length + width > size - 1) break;
        length += width;
    }
    memcpy(out, text, size_t(length));
    out[length] = '\0';
}

void formatLineNumber(int32_t lineNumber, char* out, int32_t outSize) {
    snprintf(out, size_t(outSize), "%9d", lineNumber);
}
