#pragma once

#include <string>

// A symbolic link with a fixed name pointing at the pseudo-terminal, so that
// clients can be configured once. Removed again on destruction, unless it has
// been replaced by something else meanwhile.
class SlaveLink {
public:
    SlaveLink() = default;
    ~SlaveLink();
    SlaveLink(const SlaveLink &) = delete;
    SlaveLink &operator=(const SlaveLink &) = delete;

    // Makes `linkPath` point at `target`. An existing symlink there (left by
    // an earlier run) is replaced; any other kind of file is left alone and
    // reported as an error. False with a reason in `error` on failure.
    bool create(const std::string &linkPath, const std::string &target, std::string *error);

private:
    std::string m_linkPath;
    std::string m_target;
};
