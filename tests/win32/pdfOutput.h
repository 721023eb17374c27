// What the CUPS PDF printer made of a job: Wine starts Linux programs from
// CreateProcess, so the tests can ask CUPS and poppler directly.
#pragma once
#include <string>
#include <vector>

// Runs `command` with /bin/sh (Unix paths, C locale, a plain PATH) and gives
// its exit code, or -1 when it could not be started or did not end within
// two minutes. Its standard output and error go into *output when asked for.
// The command must not contain double quotes: use single quotes for the
// shell.
int runUnixCommand(const std::string& command, std::string* output = nullptr);

// The newest PDF that cups-pdf made of the job named `documentName` (Unix
// path), or "" when there is none.
std::string jobPdfPath(const std::string& documentName);

// Removes what earlier runs left for this document name. Gives false when a
// file is still there afterwards.
bool clearJobPdf(const std::string& documentName);

// True while CUPS still holds a job of this name (queued or processing).
bool jobQueued(const std::string& documentName);

// Waits until CUPS holds no job of this name and poppler can read its PDF;
// gives the PDF's page count, or -1 when that did not happen in time.
int waitForJobPdf(const std::string& documentName, int timeoutMs = 60000);

// Waits until CUPS holds no job of this name; false on a time-out.
bool waitForJobGone(const std::string& documentName, int timeoutMs = 60000);

// The page count pdfinfo reports, or -1 when poppler cannot read the file.
int pdfPageCount(const std::string& documentName);

// The text of each page (pdftotext -layout), in code page 932 so that it
// compares with the sources' literals.
std::vector<std::string> pdfPageTexts(const std::string& documentName);

// poppler's UTF-8 text in code page 932, to compare with the sources' literals.
std::string utf8ToCp932(const std::string& utf8);

// The numbers that follow each occurrence of `prefix` in the text, in order
// ("PAGE-" in "PAGE-2 ... PAGE-13" gives 2, 13).
std::vector<int> numbersAfter(const std::string& text, const std::string& prefix);
