// loadDocument against real files through the platform's file, string and
// message-box calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dialogWatcher.h"
#include "document/documentLoader.h"
#include "document/documentNames.h"
#include "document/lineList.h"
#include "layout/pagination.h"

namespace {

std::string tempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

void setDocumentPath(const std::string& path) {
    lstrcpynA(documentPath, path.c_str(), PATH_BUFFER_SIZE);
}

std::string lineText(int index) {
    LineNode* line = head;
    for (int i = 0; line && i < index; ++i) line = line->next;
    return line ? std::string(line->text, line->length) : "<none>";
}

class LoadDocument : public testing::Test {
protected:
    void SetUp() override {
        columnsPerRow = 10;
        rowsPerPage = 3;
        currentPage = 0;
    }
    void TearDown() override {
        clearLineList();
        releasePages();
        pageCount = 0;
    }
};

TEST_F(LoadDocument, ReadsJapaneseTextIntoRowsAndPages) {
    std::string path = tempPath("pemo 日本語.txt");
    writeFile(path, "吾輩は猫である。名前はまだ無い。\r\nどこで生れたか\f頓と見当がつかぬ。");
    setDocumentPath(path);
    currentPage = 5;
    DialogWatcher watcher;

    ASSERT_EQ(loadDocument(nullptr), 1);

    EXPECT_TRUE(watcher.seen().empty());
    EXPECT_EQ(lineText(0), "吾輩は猫である。名前はまだ無い。");
    EXPECT_EQ(lineText(1), "どこで生れたか");
    EXPECT_EQ(lineText(2), "頓と見当がつかぬ。");
    EXPECT_EQ(head->next->pageBreakAfter, 1);
    EXPECT_EQ(head->next->next->lineNumber, 2);
    EXPECT_EQ(tail, head->next->next);  // no empty line after unterminated text
    // 16 double-byte characters at 10 columns: 5 per row.
    EXPECT_EQ(head->rowCount, 4);
    EXPECT_EQ(head->charCount, 16);
    // Rows 4 + 2 (then the form feed) + 2 at 3 a page: the form feed falls on a page end.
    EXPECT_EQ(pageCount, 3);
    EXPECT_EQ(currentPage, 0);
    EXPECT_EQ(std::string(documentPath), path);
    EXPECT_NE(std::string(documentTitle).find("pemo 日本語"), std::string::npos) << documentTitle;
    DeleteFileA(path.c_str());
}

TEST_F(LoadDocument, FailureShowsTheMessageAndEmptiesTheDocument) {
    std::string present = tempPath("pemo-present.txt");
    writeFile(present, "abc\n");
    setDocumentPath(present);
    ASSERT_EQ(loadDocument(nullptr), 1);
    ASSERT_NE(head, nullptr);

    std::string missing = tempPath("pemo-missing-ファイル.txt");
    DeleteFileA(missing.c_str());
    setDocumentPath(missing);
    DialogWatcher watcher;
    EXPECT_EQ(loadDocument(nullptr), 0);

    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].caption, "pemoPrint");
    EXPECT_EQ(watcher.seen()[0].text, missing + " の読み込みに失敗しました。");
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(tail, nullptr);
    EXPECT_EQ(documentPath[0], '\0');
    EXPECT_EQ(documentTitle[0], '\0');
    EXPECT_EQ(pageCount, 0);
    EXPECT_EQ(pages, nullptr);
    DeleteFileA(present.c_str());
}

TEST_F(LoadDocument, AFolderCannotBeRead) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    setDocumentPath(folder);
    DialogWatcher watcher;
    EXPECT_EQ(loadDocument(nullptr), 0);
    EXPECT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(head, nullptr);
}

TEST_F(LoadDocument, WindowIsEnabledAgainOnEveryWayOut) {
    HWND window = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    std::string path = tempPath("pemo-enabled.txt");
    writeFile(path, std::string(1024, 'x'));  // exactly two full blocks
    setDocumentPath(path);
    EXPECT_EQ(loadDocument(window), 1);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(head->length, 1024);

    DeleteFileA(path.c_str());
    DialogWatcher watcher;
    EXPECT_EQ(loadDocument(window), 0);
    EXPECT_TRUE(IsWindowEnabled(window));
    DestroyWindow(window);
}

TEST(CaptureDateTime, FormatsTheLocalTimeWithoutLeadingZeros) {
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    captureDateTime();
    GetLocalTime(&after);
    char date[32], time[32];
    wsprintfA(date, "%u/%u/%u", after.wYear, after.wMonth, after.wDay);
    wsprintfA(time, "%u:%02u", after.wHour, after.wMinute);
    if (before.wMinute == after.wMinute) {
        EXPECT_STREQ(dateText, date);
        EXPECT_STREQ(timeText, time);
    }
    formatDateTime(2005, 3, 7, 9, 5);
    EXPECT_STREQ(dateText, "2005/3/7");
    EXPECT_STREQ(timeText, "9:05");
}

}  // namespace
