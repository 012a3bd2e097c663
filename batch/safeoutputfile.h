#pragma once
// One output file of a command-line tool, written so that nothing is ever
// damaged:
//
// - a regular file (or a name not yet taken) is written to a new temporary
//   file in the same folder, created exclusively under an unpredictable name
//   (never following a link planted there), and renamed over the final name
//   only when complete; until then, and after any failure, the old file is
//   untouched;
// - a symbolic link to a regular file writes the link's final target that
//   way, beside it, and the link stays;
// - anything else (a character device such as /dev/null or /dev/full, a FIFO,
//   /dev/stdout and other links to an open descriptor) is opened and written
//   directly, in order, and its write errors are reported.
//
// Messages name the path the user gave, never the temporary file.
#include <cstdint>
#include <string>
#include <string_view>

class SafeOutputFile {
public:
    SafeOutputFile() = default;
    ~SafeOutputFile(); // an unfinished file is abandoned
    SafeOutputFile(const SafeOutputFile&) = delete;
    SafeOutputFile& operator=(const SafeOutputFile&) = delete;

    // Opens `path` for writing (creates the temporary file, or opens the
    // special file). Returns the reason when it cannot ("is a directory",
    // "No such file or directory", "Read-only file system", ...); then
    // nothing is left behind.
    std::string Open(const std::string& path);
    // As Open, but only a regular file (or a new one) is taken: a special
    // file is refused without being opened, as "not a regular file".
    std::string OpenRegular(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    // True for a special file written directly.
    bool IsDirect() const { return direct_; }

    // Appends `text`. False once a write has failed (later writes do nothing).
    bool Write(std::string_view text);
    // True when the failed write met a reader that had gone (a closed pipe).
    bool ReaderGone() const;

    // Completes the file: flushed to the disk and renamed to its name (a
    // special file is just closed). Returns the reason of the first failure,
    // including that of an earlier Write; the old file then stays.
    std::string Commit();
    // Closes and removes the temporary file; the old file stays.
    void Abandon();

    const std::string& Path() const { return path_; }

private:
    std::string Open(const std::string& path, bool regularOnly);
    void Close();

    std::string path_;      // as the user gave it
    std::string finalPath_; // what the rename replaces (a link's target)
    std::string tempPath_;  // empty when direct or not open
    int fd_ = -1;
    bool direct_ = false;
    int error_ = 0; // errno of the first failed write
    int slot_ = -1; // in the list RemoveUnfinishedOutputFiles reads
};

// Checks that `folder` can hold new files by creating a temporary file in
// it (and removing it). Returns the reason when it cannot.
std::string CheckFolderWritable(const std::string& folder);

// The line for the user when `path` (as the user gave it) could not be
// written: "cannot write PATH: REASON".
std::string CannotWrite(const std::string& path, const std::string& reason);

// Writes `text` as the whole of `path` (through SafeOutputFile) when `path`
// is new or a regular file; anything else is refused, unopened, as "not a
// regular file" (a FIFO would block the writer until a reader came). Returns
// the reason of a failure, empty on success.
std::string WriteWholeFile(const std::string& path, std::string_view text);

// Removes every temporary file not yet committed or abandoned, and makes
// every later Open of a regular file fail. Safe to call from a signal
// handler (it calls only unlink and clock_gettime), for a tool that is ended
// at once: nothing but complete files is left.
void RemoveUnfinishedOutputFiles();
