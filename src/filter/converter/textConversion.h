// Decides what a file's bytes are and turns them into Shift_JIS through the
// platform's code-page functions.
#pragma once
#include <string>

// Converts UTF-8 (with or without its byte-order mark) and UTF-16 with its
// mark into `output`; characters that code page 932 lacks become its
// default character. Gives 0 for anything else (text without a mark that is
// not valid UTF-8, such as Shift_JIS), which is to pass through unchanged.
int toShiftJis(const std::string& input, std::string* output);
