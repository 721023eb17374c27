#include "filterRunner.h"

#include <new>

#include "../app/unicodeText.h"
#include "../document/pipeEnd.h"
#include "filterConfig.h"
#include "filterConsole.h"
#include "filterRules.h"

namespace {

// The file goes to the filter in large pieces: under Wine every write to a
// pipe is a round trip through its server.
enum { FEED_PIECE_SIZE = 64 * 1024 };

// Every filter and whatever it starts in turn, so that all of them can be
// ended at once when the program ends before their output is read. The job
// ends them too when the program ends by any way out: its handle is the
// program's only one, so a filter started after they were ended cannot
// outlive the program either.
HANDLE createFilterJob() {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job) SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

HANDLE filterJob() {
    static HANDLE job = createFilterJob();
    return job;
}

// Closes its handle on the way out unless it was handed on.
struct OwnedHandle {
    HANDLE handle = nullptr;
    ~OwnedHandle() { close(); }
    void close() {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        handle = nullptr;
    }
    HANDLE release() {
        HANDLE h = handle;
        handle = nullptr;
        return h;
    }
};

// The run's console share, given back unless the feeder took it.
struct ConsoleShare {
    int32_t held = 0;
    ~ConsoleShare() {
        if (held) releaseFilterConsole();
    }
};

// A filter that was started but never handed to a feeder is ended.
struct StartedFilter {
    HANDLE process = nullptr;
    ~StartedFilter() {
        if (!process) return;
        TerminateProcess(process, 0);
        CloseHandle(process);
    }
};

struct FilterPipes {
    OwnedHandle outputRead, outputWrite, inputRead, inputWrite, sink;
};

int createFilterPipes(FilterPipes* pipes) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    if (!CreatePipe(&pipes->outputRead.handle, &pipes->outputWrite.handle, &inheritable, 0) ||
        !CreatePipe(&pipes->inputRead.handle, &pipes->inputWrite.handle, &inheritable, 0)) {
        return 0;
    }
    // Filters started later must not hold the loader's end of this output.
    SetHandleInformation(pipes->outputRead.handle, HANDLE_FLAG_INHERIT, 0);
    HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, pipes->inputWrite.handle, self, &pipes->sink.handle, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        pipes->sink.handle = nullptr;
        return 0;
    }
    pipes->inputWrite.close();
    return 1;
}

// Starts the filter on the pipe ends; gives its process handle, or null.
// The ends are named in the start-up record: a console filter that gets a
// console of its own would not take them from the process's standard
// handles, and would wait on that console's keyboard for ever.
HANDLE launchFilter(const char* command, FilterPipes* pipes, int console) {
    HANDLE consoleError = console ? filterConsoleError() : nullptr;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = pipes->inputRead.handle;
    startup.hStdOutput = pipes->outputWrite.handle;
    startup.hStdError = consoleError ? consoleError : GetStdHandle(STD_ERROR_HANDLE);
    // Without a console of ours, a console filter gets a hidden one. It
    // starts suspended until it belongs to the filters' job, so that nothing
    // it starts can escape the job.
    DWORD flags = (console ? 0 : CREATE_NO_WINDOW) | CREATE_SUSPENDED;
    PROCESS_INFORMATION started = {};
    // The rule's command is code page 932, whatever the system's.
    wchar_t commandLine[FILTER_COMMAND_SIZE];
    widen(command, commandLine, FILTER_COMMAND_SIZE);
    BOOL ok = CreateProcessW(nullptr, commandLine, nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                             &startup, &started);
    // Only the filter's copies of its own ends stay open, so that each
    // pipe ends when the side that writes it closes.
    pipes->inputRead.close();
    pipes->outputWrite.close();
    if (!ok) return nullptr;
    AssignProcessToJobObject(filterJob(), started.hProcess);  // without a job it still runs
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    return started.hProcess;
}

HANDLE startFilter(HANDLE file, char* command, int console, HANDLE* feeder) {
    OwnedHandle source{file};
    ConsoleShare share;
    if (console) {
        acquireFilterConsole();
        share.held = 1;
    }
    FilterPipes pipes;
    if (!createFilterPipes(&pipes)) return INVALID_HANDLE_VALUE;
    StartedFilter filter;
    filter.process = launchFilter(command, &pipes, console);
    if (!filter.process) return INVALID_HANDLE_VALUE;
    FeedJob* job =
        new (std::nothrow) FeedJob{source.handle, pipes.sink.handle, filter.process, share.held};
    if (!job) return INVALID_HANDLE_VALUE;
    *feeder = CreateThread(nullptr, 0, feedFilter, job, 0, nullptr);
    if (!*feeder) {
        delete job;
        return INVALID_HANDLE_VALUE;
    }
    // The feeder owns these now.
    source.release();
    pipes.sink.release();
    filter.process = nullptr;
    share.held = 0;
    return pipes.outputRead.release();
}

}  // namespace

HANDLE openInput(const wchar_t* path, HANDLE* feeder) {
    *feeder = nullptr;
    char command[FILTER_COMMAND_SIZE] = "";
    int console = findFilterFor(path, command, sizeof command);
    if (console == FILTER_UNUSABLE) return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE || command[0] == '\0') return file;
    return startFilter(file, command, console, feeder);
}

void endAllFilters() {
    TerminateJobObject(filterJob(), 0);
}

namespace {

enum FeedResult { FED_WHOLE, FED_PART, SOURCE_FAILED };

// Copies the file into the filter until the file ends, a read of it fails,
// or the filter stops taking it. The file ends as the loader's input does.
FeedResult copyToFilter(HANDLE source, HANDLE sink) {
    const bool isPipe = GetFileType(source) == FILE_TYPE_PIPE;
    char block[FEED_PIECE_SIZE];
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(source, block, sizeof block, &got, nullptr)) {
            return isPipe && GetLastError() == ERROR_BROKEN_PIPE ? FED_WHOLE : SOURCE_FAILED;
        }
        if (got == 0 && emptyReadEnds(source, isPipe)) return FED_WHOLE;
        if (!WriteFile(sink, block, got, &put, nullptr) || put < got) return FED_PART;
    }
}

// Exception codes start at 0xC0000000: such an end is a crash, whatever the
// filter wrote before it.
FilterOutcome outcomeOf(FeedResult fed, DWORD status) {
    if (fed == SOURCE_FAILED || status >= 0xC0000000) return FILTER_FAILED;
    return fed == FED_WHOLE && status == 0 ? FILTER_ENDED_CLEAN : FILTER_ENDED;
}

}  // namespace

DWORD WINAPI feedFilter(void* argument) {
    FeedJob* job = static_cast<FeedJob*>(argument);
    FeedResult fed = copyToFilter(job->source, job->sink);
    CloseHandle(job->source);
    CloseHandle(job->sink);  // the filter sees the end of its input
    WaitForSingleObject(job->process, INFINITE);
    DWORD status = 0;
    if (!GetExitCodeProcess(job->process, &status)) status = DWORD(-1);
    CloseHandle(job->process);
    if (job->consoleAllocated) releaseFilterConsole();
    delete job;
    return outcomeOf(fed, status);
}
