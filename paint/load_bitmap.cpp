// BMP reader of the paint program: the library's reader, restricted to BMP files.
#include "bmp.h"

vollo_pixelarray *load_bmp_reason(const char *path, const char **reason)
{
    vollo_pixelarray *pixels = vollo_load_bmp(path);
    if (reason != nullptr)
        *reason = vollo_load_pixelarray_error();
    return pixels;
}

vollo_pixelarray *load_bmp(const char *path)
{
    return load_bmp_reason(path, nullptr);
}
