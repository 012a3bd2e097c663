#pragma once
// The check every file reader makes before it opens a file: the path must
// name a regular file (after following symbolic links) of at most `maxBytes`
// bytes. A FIFO would block the opening, and a device such as /dev/zero
// never ends, so neither is ever opened for reading; the size is taken from
// the file system, so an oversized file is refused before a byte is read.
#include <cstdint>
#include <limits>
#include <string>

inline constexpr uint64_t AnySize = std::numeric_limits<uint64_t>::max();

// Empty when the file may be read; otherwise the reason for the user:
// the system's text ("No such file or directory", "Permission denied"),
// "is a directory", "not a regular file" or "larger than N bytes".
std::string CheckInputFile(const std::string& path, uint64_t maxBytes = AnySize);

// Reads the whole of `path` into `text` after CheckInputFile, opening it so
// that a file swapped for a FIFO or a device since the check is still
// refused (without blocking) and reading no more than `maxBytes`. Returns
// the reason of a refusal, with CheckInputFile's texts; `text` is then empty.
std::string ReadInputFile(const std::string& path, uint64_t maxBytes, std::string& text);
