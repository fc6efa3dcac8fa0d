#include <cerrno>
#include <cstring>

#include "error.hpp"

bool vollo_fail_open(const char *path)
{
    if (!path)
        vollo_fail("cannot open a file: no path given");
    else
        vollo_fail("cannot open '%s': %s", path, std::strerror(errno));
    return false;
}
