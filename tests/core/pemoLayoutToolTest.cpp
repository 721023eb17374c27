// pemo-layout as a program: its record output, its defaults and options, and
// its exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string sample(const char* name) { return std::string(PEMO_SAMPLES_DIR) + "/" + name; }

ToolRun runTool(const std::vector<std::string>& args) {
    char outPath[] = "/tmp/pemoLayoutOutXXXXXX";
    char errPath[] = "/tmp/pemoLayoutErrXXXXXX";
    int outFd = mkstemp(outPath);
    int errFd = mkstemp(errPath);
    ToolRun run;
    if (outFd < 0 || errFd < 0) {
        ADD_FAILURE() << "no temporary files";
        return run;
    }
    std::string command = "'" PEMO_LAYOUT_PATH "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += std::string(" >") + outPath + " 2>" + errPath;
    int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    remove(outPath);
    remove(errPath);
    return run;
}

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
    return lines;
}

// layout.txt: "ab cd<TAB>x" CR LF, "あい」" (CP932), form feed, "end".
TEST(PemoLayoutTool, PrintsLinesRowsAndPages) {
    ToolRun run = runTool({"--columns", "4", "--rows", "2", "--kinsoku", sample("layout.txt")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "document lines=3 rows=6 pages=4\n"
              "line 0 number=1 pagebreak=0 length=7 chars=7 rows=3\n"
              "row 0 0 offset=0 chars=4\n"
              "row 0 1 offset=4 chars=2\n"
              "row 0 2 offset=6 chars=1\n"
              "line 1 number=2 pagebreak=1 length=6 chars=3 rows=2\n"
              "row 1 0 offset=0 chars=1\n"
              "row 1 1 offset=2 chars=2\n"
              "line 2 number=2 pagebreak=0 length=3 chars=3 rows=1\n"
              "row 2 0 offset=0 chars=3\n"
              "page 0 line=0 row=1\n"
              "page 1 line=0 row=3\n"
              "page 2 line=1 row=2\n"
              "page 3 line=2 row=1\n");
}

// defaults.txt: a tab and 76 letters (80 columns at tab 4), 81 letters, then
// 58 one-letter lines: 61 rows at 80 columns, one more than a page of 60.
TEST(PemoLayoutTool, DefaultsAreEightyColumnsSixtyRowsTabFour) {
    ToolRun run = runTool({sample("defaults.txt")});
    EXPECT_EQ(run.status, 0);
    std::vector<std::string> summary = linesStartingWith(run.out, "document ");
    EXPECT_EQ(summary, std::vector<std::string>{"document lines=60 rows=61 pages=2"});
    EXPECT_EQ(linesStartingWith(run.out, "line 0 "),
              std::vector<std::string>{"line 0 number=1 pagebreak=0 length=77 chars=77 rows=1"});
    EXPECT_EQ(linesStartingWith(run.out, "page 1 "),
              std::vector<std::string>{"page 1 line=59 row=1"});
}

// closing.txt: "abcd)" at 4 columns with kinsoku: by default the ) carries the d.
TEST(PemoLayoutTool, SetOptionsReplaceTheDefaultSets) {
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> rows;
    };
    const std::vector<std::string> carried{"row 0 0 offset=0 chars=3", "row 0 1 offset=3 chars=2"};
    const std::vector<std::string> broken{"row 0 0 offset=0 chars=4", "row 0 1 offset=4 chars=1"};
    const std::vector<Case> cases{
        {{}, carried},
        {{"--line-start", "8176"}, broken},
        {{"--line-start", "29"}, carried},
        {{"--line-start", "0029"}, broken},  // the set ends at the 00 byte
        {{"--hanging", "29"}, {"row 0 0 offset=0 chars=5"}},
        // With ) free to start a row, a d forbidden at a row end is carried.
        {{"--line-start", "8176", "--line-end", "64"}, carried},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"--columns", "4", "--kinsoku"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(sample("closing.txt"));
        SCOPED_TRACE(testing::PrintToString(c.options));
        ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(linesStartingWith(run.out, "row "), c.rows);
    }
}

TEST(PemoLayoutTool, UsageErrorsGiveStatusTwoAndNoOutput) {
    const std::string file = sample("layout.txt");
    const std::vector<std::vector<std::string>> cases{
        {"--columns", "0", file},
        {"--rows", "x", file},
        {"--line-start", "8G", file},
        {"--line-start", "817", file},
        {"--unknown", file},
        {"--columns", "4"},
        {},
        {file, "--wrap"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

TEST(PemoLayoutTool, UnreadableFileGivesStatusOneAndOneMessage) {
    for (const std::string& path : {sample("no-such-file.txt"), std::string(PEMO_SAMPLES_DIR)}) {
        SCOPED_TRACE(path);
        ToolRun run = runTool({path});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

}  // namespace
