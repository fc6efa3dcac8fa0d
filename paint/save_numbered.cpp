// Numbered saves: pixodraw-YYYYMMDD-HHMMSS.EXT, then -2, -3, ... within the same second.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bmp.h"

namespace
{

// Suffixes tried before giving up: more saves than that in one second are not a person's.
const int most_suffixes = 1000;

}  // namespace

char *write_numbered(const void *bytes, uint64_t size, const char *folder, time_t when,
                     const char *extension)
{
    struct tm local;
    char stamp[32];
    if (bytes == nullptr || folder == nullptr || extension == nullptr ||
        localtime_r(&when, &local) == nullptr ||
        strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local) == 0)
    {
        errno = EINVAL;
        return nullptr;
    }
    const std::string stem = std::string(folder) + "/pixodraw-" + stamp;
    for (int number = 1; number <= most_suffixes; number++)
    {
        const std::string path =
            stem + (number > 1 ? "-" + std::to_string(number) : std::string()) + extension;
        if (vollo_write_new_file(path.c_str(), bytes, size))
        {
            char *copy = strdup(path.c_str());
            if (copy == nullptr)
                errno = ENOMEM;
            return copy;
        }
        if (errno != EEXIST)
            return nullptr;
    }
    errno = EEXIST;
    return nullptr;
}

char *save_bmp_numbered(const vollo_pixelarray *canvas, const char *folder, time_t when)
{
    uint64_t size = 0;
    uint8_t *bytes = encode_bmp(canvas, &size);
    if (bytes == nullptr)
        return nullptr;
    char *path = write_numbered(bytes, size, folder, when, ".bmp");
    const int saved_errno = errno;
    free(bytes);
    errno = saved_errno;
    return path;
}
