#pragma once
#include <cstdint>

// While nonzero, no filter applies to any file: set for the command-line
// file when PEMO_FILTER_CANCEL is defined.
extern int32_t filterCancel;
