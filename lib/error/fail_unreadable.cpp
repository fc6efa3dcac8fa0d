#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "error.hpp"

bool vollo_fail_unreadable(const char *path)
{
    const int fd = path ? ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (fd < 0 && (!path || errno == ENOENT || errno == ENOTDIR))
        return !vollo_fail_open(path);
    if (fd < 0)
    {
        vollo_fail("cannot read '%s': %s", path, std::strerror(errno));
        return true;
    }
    struct stat status;
    const bool known = ::fstat(fd, &status) == 0;
    const char *reason = nullptr;
    char byte;
    if (known && S_ISDIR(status.st_mode))
        reason = "it is a folder";
    // Only a regular file is tried: a pipe's byte would be taken from its reader.
    else if (known && S_ISREG(status.st_mode) && ::read(fd, &byte, 1) < 0)
        reason = std::strerror(errno);
    ::close(fd);
    if (reason)
        vollo_fail("cannot read '%s': %s", path, reason);
    return reason != nullptr;
}
