// The current document's whole names, as the system names the file: the
// twins of documentPath and documentTitle, which hold them as code page 932
// writes them. Every open of the document goes by these.
#pragma once
#include <windows.h>

#include "documentNames.h"

extern wchar_t documentPathWide[PATH_BUFFER_SIZE];
extern wchar_t documentTitleWide[PATH_BUFFER_SIZE];

// Names the document the next load reads. A name of PATH_BUFFER_SIZE units
// or more is not cut into the name of another file: the path is left empty
// (its load fails with the message) and 0 is given.
int nameDocument(const wchar_t* path);

// documentTitleWide for documentPathWide, and both code page 932 forms.
void takeDocumentNames();
void clearDocumentNames();
