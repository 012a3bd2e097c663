#pragma once
// The files of a batch: the statistics file (--stats), the summary file
// (--summary) and the folder of saved populations (--save-best).
//
// The two CSV files are written under a temporary name beside their final
// one ("FILE.part") and renamed when complete, so a file of that name is
// always whole: Open creates the temporary files and the folder before any
// run begins, and a refusal there leaves nothing behind.
#include "batchrun.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class BatchOutput {
public:
    BatchOutput() = default;
    ~BatchOutput(); // an unfinished output removes its temporary files
    BatchOutput(const BatchOutput&) = delete;
    BatchOutput& operator=(const BatchOutput&) = delete;

    // Creates the temporary files and the --save-best folder; returns a line
    // for the user when one cannot be created (then nothing is left behind).
    std::string Open(const BatchOptions& options);

    // Appends a run's statistics rows. Returns false when the write failed.
    bool WriteRun(const RunResult& result);

    // Writes the summary, completes both files and gives them their names.
    // Returns a line for the user when a file could not be written.
    std::string Finish(const std::vector<RunResult>& results);

private:
    struct File {
        std::string path;
        std::string partPath;
        std::FILE* file = nullptr;
        bool failed = false; // a write went wrong: the file is not completed
    };
    std::string OpenFile(const std::string& path, File& file);
    static bool Write(File& file, const std::string& text);
    std::string Complete(File& file);
    void Discard(File& file);

    bool header_ = true;
    bool evaluationsColumn_ = false; // the summary ends in ",evaluations"
    File stats_;
    File summary_;
};

// The summary header line and one run's row, "\n" included:
// run,seed,generations,best,reached_max,seconds,finished. A run that did
// not begin leaves generations, best and seconds empty. With --strategy,
// --lambda or --evaluations the summary file appends RunResult::evaluations
// to every line (header "evaluations"; empty for a run not begun).
extern const char* const SummaryHeader;
std::string SummaryRow(const RunResult& result);
