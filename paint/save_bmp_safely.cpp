// Safe saving: the picture is encoded in memory, then written whole by the library's
// file writer, so that the target is at every moment either the old file whole or the
// new one whole, even when the disk fills up, the power fails or the program is killed.
#include <cerrno>
#include <cstdlib>

#include "bmp.h"

bool save_bmp_safely(const vollo_pixelarray *canvas, const char *path, bool replace)
{
    if (path == nullptr || path[0] == '\0')
    {
        errno = path != nullptr ? ENOENT : EINVAL;
        return false;
    }
    uint64_t size = 0;
    uint8_t *bytes = encode_bmp(canvas, &size);
    if (bytes == nullptr)
        return false;
    const bool saved = replace ? vollo_write_file(path, bytes, size) : vollo_write_new_file(path, bytes, size);
    const int saved_errno = errno;
    free(bytes);
    errno = saved_errno;
    return saved;
}
