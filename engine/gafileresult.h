#pragma once
// Results of the population-file operations of GA. The readers and the
// writer never throw for a bad file: they report, and the caller decides what
// the user sees (the main window shows the message in a box captioned
// "Error").
#include "gadata.h"

#include <string>
#include <vector>

struct GAFileResult {
    bool ok = true;
    std::string message; // why the operation failed; empty on success

    explicit operator bool() const { return ok; }
};

// The blocks of a population file, one record per block in file order.
struct GAGenerationList {
    bool ok = true;
    std::string message;         // why the list is incomplete; empty on success
    std::vector<GAData> records; // on failure: the complete blocks before the fault

    explicit operator bool() const { return ok; }
};
