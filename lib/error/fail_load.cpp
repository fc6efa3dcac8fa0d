#include "error.hpp"

void vollo_fail_load(const char *path, const char *otherwise)
{
    if (!vollo_fail_unreadable(path))
        vollo_fail("cannot load '%s': %s", path, otherwise);
}
