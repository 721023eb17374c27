#include "documentNames.h"

#include <cstdio>

#include "../app/ansiText.h"
#include "../layout/headerFooter.h"

char documentPath[PATH_BUFFER_SIZE];
char documentTitle[PATH_BUFFER_SIZE];
char dateText[DATE_TIME_BUFFER_SIZE];
char timeText[DATE_TIME_BUFFER_SIZE];

void formatDateTime(unsigned short year, unsigned short month, unsigned short day,
                    unsigned short hour, unsigned short minute) {
    snprintf(dateText, sizeof dateText, "%hu/%hu/%hu", year, month, day);
    snprintf(timeText, sizeof timeText, "%hu:%02hu", hour, minute);
}

void writeCodePageName(const uint16_t* wide, char* out, int32_t outSize) {
    // Every unit gives a byte at least: the first outSize units give all the
    // bytes that can fit, and two bytes at most each.
    enum { MOST_UNITS = 1024 };
    char whole[2 * MOST_UNITS + 1];
    int units = 0;
    while (wide[units] && units < outSize && units < MOST_UNITS) ++units;
    int written = wideTo932(wide, units, whole, sizeof whole - 1);
    whole[written] = '\0';
    copyWholeCharacters(out, whole, outSize);
}
