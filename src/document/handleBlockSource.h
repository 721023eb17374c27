#pragma once
#include <windows.h>

#include "documentReader.h"

// Reads blocks from a file or pipe handle. A block is filled as far as the
// handle gives bytes, so a pipe that delivers in small pieces is not taken
// to have ended early.
BlockSource handleBlockSource(HANDLE* handle);
