// The command-line file: names made full and long, "/p", and command lines
// that name nothing or far too much.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dialogWatcher.h"
#include "document/commandLineFile.h"
#include "document/documentNames.h"
#include "document/lineList.h"
#include "layout/pagination.h"

namespace {

class CommandLineFile : public testing::Test {
protected:
    std::string folder;
    std::string longName;

    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "pemo long folder name";
        CreateDirectoryA(folder.c_str(), nullptr);
        longName = folder + "\\日本語 の 文書.txt";
        HANDLE file = CreateFileA(longName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(file, "abc\r\n", 5, &written, nullptr);
        CloseHandle(file);
        lstrcpyA(documentPath, "untouched");
        columnsPerRow = 80;
        rowsPerPage = 60;
    }
    void TearDown() override {
        DeleteFileA(longName.c_str());
        RemoveDirectoryA(folder.c_str());
        clearLineList();
        releasePages();
        pageCount = 0;
    }
};

TEST_F(CommandLineFile, QuotedNameWithPrintSwitch) {
    std::string line = "\"" + longName + "\" /P";
    DialogWatcher watcher;
    EXPECT_EQ(loadCommandLineFile(nullptr, line.c_str()), 1);
    EXPECT_EQ(std::string(documentPath), longName);
    EXPECT_TRUE(watcher.seen().empty());
    EXPECT_EQ(std::string(head->text), "abc");
}

TEST_F(CommandLineFile, ShortNamesBecomeLongAndRelativeOnesFull) {
    char shortName[MAX_PATH] = "";
    DWORD length = GetShortPathNameA(longName.c_str(), shortName, sizeof shortName);
    ASSERT_GT(length, 0u);
    ASSERT_NE(std::string(shortName), longName) << "no 8.3 name to start from";
    EXPECT_EQ(loadCommandLineFile(nullptr, shortName), 0);  // loaded, no "/p"
    EXPECT_EQ(std::string(documentPath), longName);

    SetCurrentDirectoryA(folder.c_str());
    EXPECT_EQ(loadCommandLineFile(nullptr, "\"日本語 の 文書.txt\""), 0);
    EXPECT_EQ(std::string(documentPath), longName);
    EXPECT_NE(head, nullptr);
}

TEST_F(CommandLineFile, NothingNamedLoadsNothing) {
    DialogWatcher watcher;
    EXPECT_EQ(loadCommandLineFile(nullptr, ""), 0);
    EXPECT_EQ(loadCommandLineFile(nullptr, nullptr), 0);
    EXPECT_EQ(loadCommandLineFile(nullptr, "/p"), 0);
    EXPECT_EQ(printAtOnce, 1);
    EXPECT_STREQ(documentPath, "untouched");
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(CommandLineFile, EmptyQuotesAndHugeNamesFailWithTheMessage) {
    DialogWatcher watcher;
    EXPECT_EQ(loadCommandLineFile(nullptr, "\"\" /p"), 0);
    std::string huge(10000, 'x');
    EXPECT_EQ(loadCommandLineFile(nullptr, (huge + " /p").c_str()), 0);
    EXPECT_EQ(loadCommandLineFile(nullptr, ("\"" + huge).c_str()), 0);
    ASSERT_EQ(watcher.seen().size(), 3u);
    for (const SeenDialog& dialog : watcher.seen()) {
        EXPECT_EQ(dialog.caption, "pemoPrint");
        EXPECT_NE(dialog.text.find("の読み込みに失敗しました。"), std::string::npos) << dialog.text;
    }
    EXPECT_STREQ(documentPath, "");
    EXPECT_EQ(head, nullptr);
}

}  // namespace
