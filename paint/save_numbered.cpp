// Numbered saves: pixodraw-YYYYMMDD-HHMMSS.bmp, then -2, -3, ... within the same second.
#include <cerrno>
#include <cstring>
#include <string>

#include "paint.h"

namespace
{

// Suffixes tried before giving up: more saves than that in one second are not a person's.
const int most_suffixes = 1000;

}  // namespace

char *save_bmp_numbered(const vollo_pixelarray *canvas, const char *folder, time_t when)
{
    struct tm local;
    char stamp[32];
    if (folder == nullptr || localtime_r(&when, &local) == nullptr ||
        strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local) == 0)
    {
        errno = EINVAL;
        return nullptr;
    }
    const std::string stem = std::string(folder) + "/pixodraw-" + stamp;
    for (int number = 1; number <= most_suffixes; number++)
    {
        const std::string path =
            stem + (number > 1 ? "-" + std::to_string(number) : std::string()) + ".bmp";
        if (save_bmp_safely(canvas, path.c_str(), false))
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
