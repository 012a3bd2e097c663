#include "slave_link.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string readLinkTarget(const std::string &path)
{
    char buffer[4096];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
}

} // namespace

SlaveLink::~SlaveLink()
{
    if (!m_linkPath.empty() && readLinkTarget(m_linkPath) == m_target)
        ::unlink(m_linkPath.c_str());
}

bool SlaveLink::create(const std::string &linkPath, const std::string &target, std::string *error)
{
    struct stat info{};
    if (::lstat(linkPath.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            *error = linkPath + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(linkPath.c_str());
    }
    if (::symlink(target.c_str(), linkPath.c_str()) != 0) {
        *error = "symlink " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    m_linkPath = linkPath;
    m_target = target;
    return true;
}
