#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "error.hpp"

void vollo_fail_load(const char *path, const char *otherwise)
{
    const int fd = path ? ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (fd < 0)
    {
        vollo_fail_open(path);
        return;
    }
    struct stat status;
    const bool folder = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
    ::close(fd);
    if (folder)
        vollo_fail("cannot load '%s': it is a folder", path);
    else
        vollo_fail("cannot load '%s': %s", path, otherwise);
}
