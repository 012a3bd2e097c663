#include "safeoutputfile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <time.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The process's file-creation mask, read once before main() (and so before
// any thread) since umask() can only be read by setting it.
mode_t ReadUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}
const mode_t processUmask = ReadUmask();

// The temporary files not yet committed, for RemoveUnfinishedOutputFiles.
// A slot is free (0), being filled or emptied (1), or names a file (2).
constexpr int registrySlots = 256;
std::atomic<int> slotState[registrySlots];
char slotPath[registrySlots][PATH_MAX];
// Set once the program is being ended at once; from then on no temporary
// file is made. `creating` counts the threads between making a temporary
// file and listing it, which the removal waits for.
std::atomic<bool> quitting {false};
std::atomic<int> creating {0};

int Register(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return -1;
    for (int slot = 0; slot < registrySlots; ++slot) {
        int expected = 0;
        if (slotState[slot].compare_exchange_strong(expected, 1)) {
            std::memcpy(slotPath[slot], path.c_str(), path.size() + 1);
            slotState[slot] = 2;
            return slot;
        }
    }
    return -1; // not listed: an immediate end may then leave it behind
}

void Unregister(int slot)
{
    if (slot < 0)
        return;
    slotState[slot] = 1;
    slotState[slot] = 0;
}

std::string Reason(int error) { return std::strerror(error); }

// "dir/name" split at the last slash; the folder of a bare name is ".".
void Split(const std::string& path, std::string& folder, std::string& name)
{
    const std::size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// Where a path leads. A descriptor link (/dev/stdout, /dev/fd/N,
// /proc/self/fd/N) leads to `descriptor`, which is written through a copy.
struct Destination {
    bool direct = false;
    int descriptor = -1;
    std::string finalPath; // a regular file's (possibly new) path
    bool exists = false;
    mode_t mode = 0;
};

std::string Resolve(const std::string& path, Destination& destination)
{
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::string folder, name;
        Split(current, folder, name);
        if (name.empty() || name == "." || name == "..")
            return "is a directory";
        char real[PATH_MAX];
        if (!::realpath(folder.c_str(), real))
            return Reason(errno);
        const std::string realFolder = real;
        if (realFolder == "/proc" || StartsWith(realFolder, "/proc/")) {
            destination.direct = true;
            char own[PATH_MAX];
            const bool ownDescriptors = ::realpath("/proc/self/fd", own) && realFolder == own;
            if (ownDescriptors && !name.empty() && name.find_first_not_of("0123456789") == std::string::npos)
                destination.descriptor = std::atoi(name.c_str());
            return {};
        }
        const std::string full = realFolder == "/" ? "/" + name : realFolder + "/" + name;
        struct stat status {};
        if (::lstat(full.c_str(), &status) != 0) {
            if (errno != ENOENT)
                return Reason(errno);
            destination.finalPath = full;
            return {};
        }
        if (S_ISLNK(status.st_mode)) {
            char target[PATH_MAX];
            const ssize_t length = ::readlink(full.c_str(), target, sizeof target - 1);
            if (length < 0)
                return Reason(errno);
            target[length] = '\0';
            current = target[0] == '/' ? std::string(target) : realFolder + "/" + target;
            continue;
        }
        if (S_ISDIR(status.st_mode))
            return "is a directory";
        if (S_ISREG(status.st_mode)) {
            destination.finalPath = full;
            destination.exists = true;
            destination.mode = status.st_mode & 07777;
            return {};
        }
        destination.direct = true;
        return {};
    }
    return Reason(ELOOP);
}

// Writes all of `text` to `fd`; the errno of a failure, or 0.
int WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// A new file in `folder` created exclusively, never through a link, under
// a name no one can guess in advance: ".NAME.XXXXXX".
int CreateTemporary(const std::string& folder, const std::string& name, std::string& tempPath)
{
    std::string pattern = folder + (folder == "/" ? "." : "/.") + name + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0)
        tempPath = pattern;
    return fd;
}

} // namespace

SafeOutputFile::~SafeOutputFile() { Abandon(); }

std::string SafeOutputFile::Open(const std::string& path) { return Open(path, false); }

std::string SafeOutputFile::OpenRegular(const std::string& path) { return Open(path, true); }

std::string SafeOutputFile::Open(const std::string& path, bool regularOnly)
{
    Abandon();
    path_ = path;
    error_ = 0;
    Destination destination;
    std::string reason = Resolve(path, destination);
    if (!reason.empty())
        return reason;
    if (destination.direct && regularOnly)
        return "not a regular file";
    direct_ = destination.direct;
    if (direct_) {
        fd_ = destination.descriptor >= 0 ? ::fcntl(destination.descriptor, F_DUPFD_CLOEXEC, 0)
                                          : ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
        return fd_ < 0 ? Reason(errno) : std::string();
    }
    finalPath_ = destination.finalPath;
    std::string folder, name;
    Split(finalPath_, folder, name);
    creating.fetch_add(1);
    if (quitting) {
        creating.fetch_sub(1);
        return Reason(EINTR);
    }
    fd_ = CreateTemporary(folder, name, tempPath_);
    const int error = errno;
    if (fd_ >= 0)
        slot_ = Register(tempPath_);
    creating.fetch_sub(1);
    if (fd_ < 0)
        return Reason(error);
    // The finished file gets the mode a plain creation would give it, or
    // keeps that of the file it replaces.
    const mode_t mode = destination.exists ? destination.mode : (0666 & ~processUmask);
    if (::fchmod(fd_, mode) != 0) {
        const int error = errno;
        Abandon();
        return Reason(error);
    }
    return {};
}

bool SafeOutputFile::Write(std::string_view text)
{
    if (fd_ < 0 || error_ != 0)
        return false;
    error_ = WriteAll(fd_, text);
    return error_ == 0;
}

bool SafeOutputFile::ReaderGone() const { return error_ == EPIPE; }

std::string SafeOutputFile::Commit()
{
    if (fd_ < 0)
        return error_ != 0 ? Reason(error_) : std::string();
    int error = error_;
    if (error == 0 && !direct_ && ::fsync(fd_) != 0)
        error = errno;
    if (::close(fd_) != 0 && error == 0 && errno != EINTR)
        error = errno;
    fd_ = -1;
    if (error == 0 && !direct_ && ::rename(tempPath_.c_str(), finalPath_.c_str()) != 0)
        error = errno;
    if (error != 0) {
        Abandon();
        error_ = error;
        return Reason(error);
    }
    Unregister(slot_);
    slot_ = -1;
    tempPath_.clear();
    return {};
}

void SafeOutputFile::Abandon()
{
    Close();
    if (!tempPath_.empty())
        ::unlink(tempPath_.c_str());
    Unregister(slot_);
    slot_ = -1;
    tempPath_.clear();
}

void SafeOutputFile::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::string CheckFolderWritable(const std::string& folder)
{
    std::string tempPath;
    const int fd = CreateTemporary(folder, "check", tempPath);
    if (fd < 0)
        return Reason(errno);
    ::close(fd);
    ::unlink(tempPath.c_str());
    return {};
}

std::string CannotWrite(const std::string& path, const std::string& reason)
{
    return "cannot write " + path + ": " + reason;
}

std::string WriteWholeFile(const std::string& path, std::string_view text)
{
    SafeOutputFile file;
    std::string reason = file.OpenRegular(path);
    if (reason.empty()) {
        file.Write(text);
        reason = file.Commit();
    }
    return reason;
}

void RemoveUnfinishedOutputFiles()
{
    quitting = true;
    // Let a thread that is making a temporary file list it (for at most a
    // fifth of a second: the caller may be that very thread).
    timespec start {}, now {};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    while (creating.load() > 0 && ::clock_gettime(CLOCK_MONOTONIC, &now) == 0
           && (now.tv_sec - start.tv_sec) * 1000000000L + (now.tv_nsec - start.tv_nsec) < 200000000L) {
    }
    for (int slot = 0; slot < registrySlots; ++slot)
        if (slotState[slot].load() == 2)
            ::unlink(slotPath[slot]);
}
