// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDS_TEXT_FILES 1
#define IDS_ALL_FILES 2
#define IDS_READ_FAILED 3
#define IDS_KINSOKU_LINE_START 4
#define IDS_KINSOKU_HANGING 5
#define IDS_KINSOKU_LINE_END 6
#define IDS_TEXT_FILTER 8
#define IDS_ALL_PATTERN 9
#define IDS_DEFAULT_EXT 10
#define IDS_PRINT_FAILED 11

#define IDD_PROGRESS 102
