#pragma once
// Results of the population-file operations of GA. The readers and the
// writer never throw for a bad file: they report, and the caller decides what
// the user sees (the main window shows the message in a box captioned
// "Error").
#include "gadata.h"

#include <cstdint>
#include <string>
#include <vector>

struct GAFileResult {
    bool ok = true;
    std::string message; // why the operation failed; empty on success

    explicit operator bool() const { return ok; }
};

// Where a block of a population file starts, and its sizes.
struct GABlockPlace {
    uint64_t offset = 0; // of its "Generation" line, in bytes from the file's start
    uint32_t size = 0;   // N, the number of individuals
    uint32_t length = 0; // L, the chromosome length in bits
};

// The blocks of a population file, one record per block in file order.
struct GAGenerationList {
    bool ok = true;
    std::string message;         // why the list is incomplete; empty on success
    std::vector<GAData> records; // on failure: the complete blocks before the fault
    std::vector<GABlockPlace> places; // one per record

    explicit operator bool() const { return ok; }
};
