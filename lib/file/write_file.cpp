#include "vollo.h"
#include "file.hpp"

bool vollo_write_file(const char *path, const void *data, uint64_t size)
{
    return vollo_file::write_whole(path, data, size, true);
}
