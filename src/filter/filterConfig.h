// Finds the filter rule for a file in the rules file beside the program,
// read anew for every file.
#pragma once

// The applying rule's command cannot be used (too long once expanded), or
// the rules file is there but cannot be read: the file must not be read at all.
enum { FILTER_UNUSABLE = -1 };

// Gives 0 when no rule applies (or the Ctrl key is down, or filterCancel is
// set), with `command` untouched. When a rule applies, `command` holds its
// "InputFilter" with the tab code expanded, possibly empty, and the result
// is 1 when the filter wants a console, 0 when not; FILTER_UNUSABLE leaves
// `command` empty.
int findFilter(const char* path, char* command, int commandSize);

// The same lookup in the rules file `configPath`, without the key and
// switch checks.
int findFilterInFile(const wchar_t* configPath, const char* path, char* command, int commandSize);


// findFilter for a whole name, matched as code page 932 writes it: a name
// with characters the code page lacks matches no rule written for others
// ("café" is not "cafe").
int findFilterFor(const wchar_t* path, char* command, int commandSize);
