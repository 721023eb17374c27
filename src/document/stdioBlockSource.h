// A block source over a C stdio stream, for the native tools, tests and
// benchmarks.
#pragma once
#include <cstdio>

#include "documentReader.h"

BlockSource stdioBlockSource(FILE* file);

// Reads the file at path into the line list. Gives 1, or 0 when it cannot be
// opened or read (the list is then left as readLines left it).
int readLinesFromPath(const char* path);
