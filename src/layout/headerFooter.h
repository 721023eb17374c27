// Header and footer templates: the settings, and the expansion of the codes
// &D &T &P &A &F &U and &&.
#pragma once
#include <cstdint>

enum { TEMPLATE_SIZE = 256, EXPANDED_TEMPLATE_SIZE = 1024, NUMBER_TEXT_SIZE = 32 };

struct HeaderFooterSettings {
    int32_t printHeader;
    int32_t printFooter;
    int32_t printLineNumber;
    char headerLeft[TEMPLATE_SIZE];
    char headerCenter[TEMPLATE_SIZE];
    char headerRight[TEMPLATE_SIZE];
    char footerLeft[TEMPLATE_SIZE];
    char footerCenter[TEMPLATE_SIZE];
    char footerRight[TEMPLATE_SIZE];
};

extern HeaderFooterSettings headerFooterSettings;
extern char pageNumberText[NUMBER_TEXT_SIZE];
extern char pageCountText[NUMBER_TEXT_SIZE];

// Writes the expanded template into out (outSize bytes with the NUL). Every
// piece is copied whole or not at all; the NUL always fits.
void expandTemplate(const char* templateText, char* out, int32_t outSize);

// pageNumberText and pageCountText for a page (the count shows at least 1).
void setPageNumberTexts(int32_t pageNumber, int32_t pageCount);

// Copies text into a buffer of size bytes, cut to whole characters: a cut
// never leaves the lead byte of a double-byte character behind.
void copyWholeCharacters(char* out, const char* text, int32_t size);

// "%9d" of a line number, as drawn before a line's first row.
void formatLineNumber(int32_t lineNumber, char* out, int32_t outSize);
