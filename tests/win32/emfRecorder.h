// Records what code under test draws on an enhanced-metafile DC and reads
// the text output back: where each string went, its bytes in code page 932,
// and the font and background mode in effect when it was drawn.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct DrawnText {
    POINT at;               // reference point of the text call
    std::string text;       // CP932 bytes (UTF-16 records converted back)
    LONG fontHeight;        // lfHeight of the font selected at the time; 0 when none was
    int backgroundMode;     // last SetBkMode recorded before it; 0 when none was
};

class EmfRecorder {
public:
    // The reference DC gives the metafile its device (null: the display).
    explicit EmfRecorder(HDC reference = nullptr);
    ~EmfRecorder();
    EmfRecorder(const EmfRecorder&) = delete;
    EmfRecorder& operator=(const EmfRecorder&) = delete;

    HDC dc() const { return recording; }
    // Closes the metafile and gives its text records in drawing order.
    std::vector<DrawnText> finish();

private:
    HDC recording;
};

// "x,y:text" for each record, for comparisons whose failures read well.
std::vector<std::string> describe(const std::vector<DrawnText>& records);
