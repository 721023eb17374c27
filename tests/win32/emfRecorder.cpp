#include "emfRecorder.h"

#include <map>

namespace {

struct Playback {
    std::vector<DrawnText> texts;
    std::map<DWORD, LONG> fontHeights;  // metafile handle index -> lfHeight
    LONG fontHeight = 0;
    int backgroundMode = 0;
};

std::string toCp932(const WCHAR* text, int length) {
    if (length <= 0) return std::string();
    int size = WideCharToMultiByte(932, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(932, 0, text, length, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

int CALLBACK readRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM context) {
    Playback& playback = *reinterpret_cast<Playback*>(context);
    const BYTE* base = reinterpret_cast<const BYTE*>(record);
    switch (record->iType) {
    case EMR_EXTCREATEFONTINDIRECTW: {
        auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        playback.fontHeights[font->ihFont] = font->elfw.elfLogFont.lfHeight;
        break;
    }
    case EMR_SELECTOBJECT: {
        DWORD index = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
        auto found = playback.fontHeights.find(index);
        if (found != playback.fontHeights.end()) playback.fontHeight = found->second;
        break;
    }
    case EMR_SETBKMODE:
        playback.backgroundMode = int(reinterpret_cast<const EMRSETBKMODE*>(record)->iMode);
        break;
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW: {
        const EMRTEXT& text = reinterpret_cast<const EMREXTTEXTOUTW*>(record)->emrtext;
        DrawnText drawn;
        drawn.at = POINT{text.ptlReference.x, text.ptlReference.y};
        if (record->iType == EMR_EXTTEXTOUTA)
            drawn.text.assign(reinterpret_cast<const char*>(base + text.offString), text.nChars);
        else
            drawn.text = toCp932(reinterpret_cast<const WCHAR*>(base + text.offString),
                                 int(text.nChars));
        drawn.fontHeight = playback.fontHeight;
        drawn.backgroundMode = playback.backgroundMode;
        playback.texts.push_back(drawn);
        break;
    }
    default:
        break;
    }
    return 1;
}

}  // namespace

EmfRecorder::EmfRecorder(HDC reference)
    : recording(CreateEnhMetaFileA(reference, nullptr, nullptr, nullptr)) {}

EmfRecorder::~EmfRecorder() {
    if (recording) DeleteEnhMetaFile(CloseEnhMetaFile(recording));
}

std::vector<DrawnText> EmfRecorder::finish() {
    Playback playback;
    if (!recording) return playback.texts;
    HENHMETAFILE metafile = CloseEnhMetaFile(recording);
    recording = nullptr;
    EnumEnhMetaFile(nullptr, metafile, readRecord, &playback, nullptr);
    DeleteEnhMetaFile(metafile);
    return playback.texts;
}

std::vector<std::string> describe(const std::vector<DrawnText>& records) {
    std::vector<std::string> lines;
    for (const DrawnText& r : records)
        lines.push_back(std::to_string(r.at.x) + "," + std::to_string(r.at.y) + ":" + r.text);
    return lines;
}
