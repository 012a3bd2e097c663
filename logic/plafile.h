#pragma once
// Truth tables in Berkeley PLA files, the format of the classic two-level
// logic benchmarks.
//
// Reading understands the binary subset:
//   .i N  .o M          number of inputs and outputs (each 1 .. 10 here)
//   .p P                number of cubes (a hint; not checked)
//   .ilb a b ...        input names (N of them), .ob x y ... output names (M)
//   .type f|fd|fr|fdr   which sets the cubes give; fd when absent
//   .e or .end          end of the description; the rest is ignored
//   # ...               comment to the end of the line
// and one cube per line: N input values (0, 1, -) then M output values
// (0, 1, -, ~), with white space anywhere between them. An output value 1
// puts the cube's rows in that output's on-set; 0 puts them in the off-set
// for types fr and fdr (and means nothing for f and fd); - puts them in the
// don't-care set for fd and fdr (nothing for f and fr); ~ means nothing.
//
// The table: a cell in the don't-care set is DontCare, else 1 in the on-set,
// else 0 in the off-set; a cell no cube mentions is 0 for types f and fd and
// DontCare for fr and fdr. A cell in both the on-set and the off-set makes the
// file invalid. Keywords that change the meaning of cubes (.mv, .phase,
// .pair, .symbolic, ...) are refused rather than ignored.
#include "tablecells.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct PlaTable {
    int32_t numInputs = 0;
    int32_t numOutputs = 0;
    // From .ilb and .ob; empty when the file names none.
    std::vector<std::string> inputLabels;
    std::vector<std::string> outputLabels;
    // 2^numInputs rows x numOutputs cells, row-major: 0, 1 or DontCare.
    TruthTable cells;
};

struct PlaReadResult {
    bool ok = false;
    // Why the file was refused, for the user ("Line 7: ..."); empty when ok.
    std::string message;
    PlaTable table;

    explicit operator bool() const { return ok; }
};

// Reads a PLA file's text. On failure `table` is left empty.
PlaReadResult ReadPla(std::string_view text);
// The largest PLA file read: every distinct cube of 10 inputs and 10 outputs
// (3^10 lines of about 25 bytes) takes 1.5 MB; 16 MiB leaves room for
// repeated cubes and comments.
inline constexpr uint64_t PlaFileMaxBytes = uint64_t{16} << 20;

// Reads the file at `path`; a message says why when it is not a regular
// file of at most PlaFileMaxBytes bytes or cannot be read.
PlaReadResult ReadPlaFile(const std::string& path);

// The header of a PLA file: .i, .o, .ilb and .ob (when names are given; each
// list holds one name per input or output), .type and .p.
std::string FormatPlaHeader(int32_t numInputs, int32_t numOutputs, const std::vector<std::string>& inputLabels,
                            const std::vector<std::string>& outputLabels, std::string_view type, std::size_t cubes);

// The table as a PLA file of type fd: .i, .o, .ilb and .ob (when the table has
// labels), .type fd, .p, then one cube per row that holds a 1 or a DontCare
// (1 for 1, - for DontCare, 0 for anything else), then .e. Reading it back
// gives the same cells, with values other than 1 and DontCare as 0.
std::string FormatPlaTable(const PlaTable& table);
