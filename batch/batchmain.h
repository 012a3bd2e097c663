#pragma once
// The whole of orvik-batch behind its main(): parse, check, run, write,
// report. Separate from main() so that tests run it in-process.
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

// Exit codes. Every argument and every output path is checked before the
// first run, so BatchWriteFailed means a write failed once the runs had begun.
inline constexpr int BatchOk = 0;
inline constexpr int BatchWriteFailed = 1;
inline constexpr int BatchBadArguments = 2;
// Out of memory (or another failure of a run): the other runs stopped as on
// Ctrl+C and the files were completed, or, when the tool itself failed before
// the runs, nothing was written.
inline constexpr int BatchRunFailed = 3;
// An interrupted batch returns 128 + the signal number, as a shell reports
// it; one whose output pipe lost its reader returns 128 + SIGPIPE, as if the
// pipe had ended it (the tool ignores SIGPIPE to complete its other files).
inline constexpr int BatchReaderGone = 128 + 13;

struct BatchStreams {
    std::FILE* out = stdout; // --help and the summary
    std::FILE* err = stderr; // errors and progress
    int errTerminalColumns = 0; // the width of the terminal `err` is, 0 for none
};

// `arguments` are those after the program name. `stop` is set by the
// caller's signal handler (or a test); `stopSignal` is the signal that set it.
int RunBatch(const std::vector<std::string>& arguments, std::atomic<bool>& stop,
    const std::atomic<int>& stopSignal, const BatchStreams& streams);
