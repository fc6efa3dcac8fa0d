#include <cerrno>

#include <unistd.h>

#include "vollo.h"

bool vollo_write_all(int fd, const void *data, uint64_t size)
{
    const char *bytes = static_cast<const char *>(data);
    while (size > 0)
    {
        const size_t chunk = size > (1u << 30) ? size_t(1u << 30) : size_t(size);
        const ssize_t put = ::write(fd, bytes, chunk);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
        {
            if (put == 0)
                errno = EIO;
            return false;
        }
        bytes += put;
        size -= uint64_t(put);
    }
    return true;
}
