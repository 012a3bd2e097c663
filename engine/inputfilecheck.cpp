#include "inputfilecheck.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string TooLarge(uint64_t maxBytes) { return "larger than " + std::to_string(maxBytes) + " bytes"; }

std::string Refusal(const struct stat& status, uint64_t maxBytes)
{
    if (S_ISDIR(status.st_mode))
        return "is a directory";
    if (!S_ISREG(status.st_mode))
        return "not a regular file";
    if (static_cast<uint64_t>(status.st_size) > maxBytes)
        return TooLarge(maxBytes);
    return {};
}

// Reads `fd` to its end, at most `maxBytes` + 1 bytes; the errno of a failure, or 0.
int ReadAll(int fd, uint64_t maxBytes, std::string& text)
{
    char buffer[65536];
    while (static_cast<uint64_t>(text.size()) <= maxBytes) {
        const uint64_t left = maxBytes - text.size();
        const ssize_t got = ::read(fd, buffer, left < sizeof buffer ? static_cast<std::size_t>(left) + 1 : sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return 0;
}
} // namespace

std::string CheckInputFile(const std::string& path, uint64_t maxBytes)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::strerror(errno);
    return Refusal(status, maxBytes);
}

std::string ReadInputFile(const std::string& path, uint64_t maxBytes, std::string& text)
{
    text.clear();
    std::string reason = CheckInputFile(path, maxBytes);
    if (!reason.empty())
        return reason;
    // O_NONBLOCK: a FIFO put in the file's place since the check opens at
    // once, and fstat then refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    struct stat status {};
    reason = ::fstat(fd, &status) != 0 ? std::strerror(errno) : Refusal(status, maxBytes);
    if (reason.empty()) {
        const int error = ReadAll(fd, maxBytes, text);
        if (error != 0)
            reason = std::strerror(error);
        else if (static_cast<uint64_t>(text.size()) > maxBytes)
            reason = TooLarge(maxBytes); // grown since the check
    }
    ::close(fd);
    if (!reason.empty())
        text.clear();
    return reason;
}
