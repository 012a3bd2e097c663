#include "inputfilecheck.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

std::string CheckInputFile(const std::string& path, uint64_t maxBytes)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::strerror(errno);
    if (S_ISDIR(status.st_mode))
        return "is a directory";
    if (!S_ISREG(status.st_mode))
        return "not a regular file";
    if (static_cast<uint64_t>(status.st_size) > maxBytes)
        return "larger than " + std::to_string(maxBytes) + " bytes";
    return {};
}
