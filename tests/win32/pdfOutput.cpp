#include "pdfOutput.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

// Scratch files on the Unix side, private to this process.
std::string scratchPath(const char* what) {
    static unsigned counter = 0;
    return "/tmp/pemo-pdfoutput-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++counter) + "-" + what;
}

// The same file seen from Windows: Z: is the Unix root.
std::string windowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

bool readWholeFile(const std::string& unixPath, std::string* bytes) {
    FILE* file = fopen(windowsPath(unixPath).c_str(), "rb");
    if (!file) return false;
    bytes->clear();
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, n);
    fclose(file);
    return true;
}

bool writeWholeFile(const std::string& unixPath, const std::string& bytes) {
    FILE* file = fopen(windowsPath(unixPath).c_str(), "wb");
    if (!file) return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

// cups-pdf's directory for jobs of root.
const char pdfDirectory[] = "/root/PDF";


void sleepMs(int ms) { Sleep(DWORD(ms)); }

// Longer than any command here takes, even on a loaded machine.
const int commandTimeoutMs = 120000;

}  // namespace

int runUnixCommand(const std::string& command, std::string* output) {
    // Wine starts a Unix program without a process handle to wait on, so
    // the shell leaves its exit code in a file, moved into place when done.
    std::string outputPath = scratchPath("output");
    std::string statusPath = scratchPath("status");
    std::string script = "PATH=/usr/sbin:/usr/bin:/sbin:/bin; LC_ALL=C; export PATH LC_ALL; (" +
                         command + ") >" + outputPath + " 2>&1; echo $? >" + statusPath +
                         ".part; mv " + statusPath + ".part " + statusPath;
    std::string line = "Z:\\bin\\sh -c \"" + script + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    // Wine gives a Unix program no handles; the thread field then holds
    // whatever was there, and closing it would close someone else's handle.
    if (process.hProcess) {
        WaitForSingleObject(process.hProcess, commandTimeoutMs);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::string status;
    for (int waited = 0; !readWholeFile(statusPath, &status); waited += 5) {
        if (waited >= commandTimeoutMs) return -1;
        sleepMs(5);
    }
    DeleteFileA(windowsPath(statusPath).c_str());
    std::string text;
    readWholeFile(outputPath, &text);
    DeleteFileA(windowsPath(outputPath).c_str());
    if (output) *output = text;
    return atoi(status.c_str());
}

std::string jobPdfPath(const std::string& documentName) {
    // cups-pdf names the file after the title and, here, adds a label that
    // ends with the job number ("NAME_...job_42.pdf"): take the newest.
    std::string found;
    runUnixCommand("ls -t " + std::string(pdfDirectory) + "/" + documentName + ".pdf " +
                       pdfDirectory + "/" + documentName + "_*job_*.pdf 2>/dev/null | head -n 1",
                   &found);
    while (!found.empty() && (found.back() == '\n' || found.back() == '\r')) found.pop_back();
    return found;
}

bool clearJobPdf(const std::string& documentName) {
    std::string files = std::string(pdfDirectory) + "/" + documentName + ".pdf " +
                        pdfDirectory + "/" + documentName + "_*job_*.pdf";
    runUnixCommand("rm -f " + files);
    return jobPdfPath(documentName).empty();
}

bool jobQueued(const std::string& documentName) {
    // lpstat shows no job names, and other runs print to the same queues:
    // ask the scheduler itself for the names of the jobs not yet completed.
    std::string request = scratchPath("get-jobs.test");
    writeWholeFile(request,
                   "{\n"
                   "  NAME \"jobs\"\n"
                   "  OPERATION Get-Jobs\n"
                   "  GROUP operation-attributes-tag\n"
                   "  ATTR charset attributes-charset utf-8\n"
                   "  ATTR naturalLanguage attributes-natural-language en\n"
                   "  ATTR uri printer-uri $uri\n"
                   "  ATTR name requesting-user-name root\n"
                   "  ATTR keyword which-jobs not-completed\n"
                   "  ATTR keyword requested-attributes job-id,job-name\n"
                   "  DISPLAY job-name\n"
                   "}\n");
    std::string listing;
    int status = runUnixCommand("ipptool -t ipp://localhost/jobs " + request, &listing);
    DeleteFileA(windowsPath(request).c_str());
    // Without an answer, count the job as still there.
    if (status != 0) return true;
    return listing.find("= " + documentName + "\n") != std::string::npos;
}

bool waitForJobGone(const std::string& documentName, int timeoutMs) {
    for (int waited = 0;; waited += 100) {
        if (!jobQueued(documentName)) return true;
        if (waited >= timeoutMs) return false;
        sleepMs(100);
    }
}

int pdfPageCount(const std::string& documentName) {
    std::string path = jobPdfPath(documentName);
    std::string info;
    if (path.empty() || runUnixCommand("pdfinfo " + path, &info) != 0) return -1;
    size_t at = info.find("\nPages:");
    if (at == std::string::npos) return -1;
    return atoi(info.c_str() + at + 7);
}

int waitForJobPdf(const std::string& documentName, int timeoutMs) {
    // cups-pdf creates the file before Ghostscript has written it: the job
    // must have left the scheduler, and poppler must read the file.
    for (int waited = 0;; waited += 100) {
        if (!jobQueued(documentName)) {
            int pages = pdfPageCount(documentName);
            if (pages >= 0) return pages;
        }
        if (waited >= timeoutMs) return -1;
        sleepMs(100);
    }
}

std::vector<std::string> pdfPageTexts(const std::string& documentName) {
    std::string textPath = scratchPath("text.txt");
    std::vector<std::string> pages;
    std::string path = jobPdfPath(documentName);
    if (path.empty() ||
        runUnixCommand("pdftotext -layout -enc UTF-8 " + path + " " + textPath) != 0) {
        return pages;
    }
    std::string text;
    readWholeFile(textPath, &text);
    DeleteFileA(windowsPath(textPath).c_str());
    text = utf8ToCp932(text);
    // Every page ends with a form feed.
    size_t start = 0;
    for (size_t end; (end = text.find('\f', start)) != std::string::npos; start = end + 1)
        pages.push_back(text.substr(start, end - start));
    return pages;
}

std::vector<int> numbersAfter(const std::string& text, const std::string& prefix) {
    std::vector<int> numbers;
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
        size_t digits = at + prefix.size();
        if (digits < text.size() && isdigit(static_cast<unsigned char>(text[digits])))
            numbers.push_back(atoi(text.c_str() + digits));
    }
    return numbers;
}

std::string utf8ToCp932(const std::string& utf8) {
    if (utf8.empty()) return utf8;
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(size_t(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], wide);
    int narrow = WideCharToMultiByte(932, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(narrow), '\0');
    WideCharToMultiByte(932, 0, text.data(), wide, &out[0], narrow, nullptr, nullptr);
    return out;
}
