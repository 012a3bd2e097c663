#pragma once
// Truth-table and motor-assignment files (".tbl"), shared by both modes of the
// table editor and by the batch tool. Plain functions, Qt Core only.
//
// Format (text):
//   "%d %d\n"                 number of key bits N, number of value columns M
//   2^N lines, one per key combination in order (key bits most significant
//   first), each holding M values written "%d " (value then one space), then "\n".
// A truth table stores 0, 1 and -1 (don't care); a motor table stores speeds.
//
// Numbers are written and read as ASCII digits with an optional '-', never
// through the C or Qt locale, so a file reads back identically under any locale.
//
// Reading accepts any white space between numbers and ignores anything after
// the last value needed. Unlike a bare scanf loop, it refuses a file that ends
// early or holds a token that is not a whole number: the caller then reports
// the problem and leaves its table unchanged, rather than filling it with
// leftovers of earlier values.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The value a truth-table cell "X" stands for.
inline constexpr int32_t TableDontCare = -1;

// The whole file text for a table of `keyBits` key bits and `valueColumns`
// columns; `values` holds 2^keyBits x valueColumns entries, row-major.
QByteArray FormatTableFile(int32_t keyBits, int32_t valueColumns, const std::vector<int32_t>& values);

// What reading a file's text against an open table of the given size found.
struct TableFileContent {
    enum class Status {
        Ok,             // header matches; `values` holds every value, row-major
        HeaderMismatch, // header read but differs; `keyBits`/`valueColumns` say what it holds
        Malformed,      // header or a value missing or not a whole number; see `problem`
    };
    Status status = Status::Malformed;
    int32_t keyBits = 0;
    int32_t valueColumns = 0;
    std::vector<int32_t> values;
    QString problem; // for Malformed: a phrase for the user, e.g. "the file ends after 3 of 16 values"
};

TableFileContent ParseTableFile(const QByteArray& text, int32_t expectedKeyBits,
                                int32_t expectedValueColumns);

// The editor's message for a header that differs from the open table.
QString HeaderMismatchMessage(int32_t fileKeyBits, int32_t fileValueColumns);

// Grid text of a truth-table value read from a file: "0", "1", or "X" for any
// other number.
QString TruthValueText(int32_t value);

// Writes `text` to `path` in text mode (native line ends), replacing the file.
// False when the file cannot be opened or written.
bool WriteTextFile(const QString& path, const QByteArray& text);

// The largest table file read: a table of 10 inputs and 10 outputs takes
// about 31 KB ("-1 " per cell), so 1 MiB leaves room for 30 times as much
// white space and trailing text.
inline constexpr uint64_t TableFileMaxBytes = uint64_t{1} << 20;

// The contents of `path` read in text mode, or nothing when it is not a
// regular file of at most `maxBytes` bytes or cannot be read; `reason` (when
// given) then says why ("not a regular file", "Permission denied", ...).
std::optional<QByteArray> ReadTextFile(const QString& path, uint64_t maxBytes = TableFileMaxBytes,
                                       QString* reason = nullptr);
