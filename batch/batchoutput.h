#pragma once
// The files of a batch: the statistics file (--stats), the summary file
// (--summary) and the folder of saved populations (--save-best).
//
// Each file is a SafeOutputFile: a regular file is written under a temporary
// name beside its final one and renamed when complete, so a file of that
// name is always whole; a device or pipe is written directly. Open checks
// every output and opens the CSV files before any run begins, and a refusal
// there leaves nothing behind.
#include "batchrun.h"
#include "safeoutputfile.h"

#include <string>
#include <vector>

class BatchOutput {
public:
    BatchOutput() = default;
    ~BatchOutput(); // an unfinished output removes its temporary files
    BatchOutput(const BatchOutput&) = delete;
    BatchOutput& operator=(const BatchOutput&) = delete;

    // Opens the CSV files and creates the --save-best folder, checking that
    // it takes new files; returns one line for the user naming the option and
    // the reason when an output cannot be written ("--summary out: is a
    // directory"); then nothing is left behind.
    std::string Open(const BatchOptions& options);

    // Appends a run's statistics rows. Returns false when the write failed.
    bool WriteRun(const RunResult& result);
    // True once a write met a pipe whose reader had gone.
    bool ReaderGone() const { return stats_.ReaderGone() || summary_.ReaderGone(); }

    // Writes the summary, completes both files and gives them their names.
    // Returns a line for the user per file that could not be written (none
    // for a pipe whose reader had gone).
    std::vector<std::string> Finish(const std::vector<RunResult>& results);

private:
    bool header_ = true;
    bool evaluationsColumn_ = false; // the summary ends in ",evaluations"
    SafeOutputFile stats_;
    SafeOutputFile summary_;
};

// The summary header line and one run's row, "\n" included:
// run,seed,generations,best,reached_max,seconds,finished. A run that did
// not begin leaves generations, best and seconds empty. With --strategy,
// --lambda or --evaluations the summary file appends RunResult::evaluations
// to every line (header "evaluations"; empty for a run not begun).
extern const char* const SummaryHeader;
std::string SummaryRow(const RunResult& result);
