// The current document's names and the date and time its header and footer
// show.
#pragma once
#include <cstdint>

enum { PATH_BUFFER_SIZE = 260, DATE_TIME_BUFFER_SIZE = 32 };

extern char documentPath[PATH_BUFFER_SIZE];
extern char documentTitle[PATH_BUFFER_SIZE];
extern char dateText[DATE_TIME_BUFFER_SIZE];
extern char timeText[DATE_TIME_BUFFER_SIZE];

// A whole name as code page 932 writes it, for the header, the footer and
// the filter rules: "?" for each character the code page lacks, cut to whole
// characters where it does not fit in outSize bytes.
void writeCodePageName(const uint16_t* wide, char* out, int32_t outSize);

// "2005/3/7" and "9:05" from the parts of a local time.
void formatDateTime(unsigned short year, unsigned short month, unsigned short day,
                    unsigned short hour, unsigned short minute);
