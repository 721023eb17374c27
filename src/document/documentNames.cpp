#include "documentNames.h"

#include <cstdio>

char documentPath[PATH_BUFFER_SIZE];
char documentTitle[PATH_BUFFER_SIZE];
char dateText[DATE_TIME_BUFFER_SIZE];
char timeText[DATE_TIME_BUFFER_SIZE];

void formatDateTime(unsigned short year, unsigned short month, unsigned short day,
                    unsigned short hour, unsigned short minute) {
    snprintf(dateText, sizeof dateText, "%hu/%hu/%hu", year, month, day);
    snprintf(timeText, sizeof timeText, "%hu:%02hu", hour, minute);
}
