// The drawing alone, as PNG: a rectangle of pixels made opaque (the screen shows no
// alpha, and the interface grey has none), encoded in memory, then written as a new
// numbered file.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "bmp.h"

char *export_png_numbered(const vollo_pixelarray *pixels, paint_rect area, const char *folder,
                          time_t when)
{
    if (pixels == nullptr || pixels->pixels == nullptr)
    {
        errno = EINVAL;
        return nullptr;
    }
    area.x0 = std::max(area.x0, 0);
    area.y0 = std::max(area.y0, 0);
    area.x1 = int32_t(std::min<int64_t>(area.x1, int64_t(pixels->width) - 1));
    area.y1 = int32_t(std::min<int64_t>(area.y1, int64_t(pixels->height) - 1));
    if (area.x0 > area.x1 || area.y0 > area.y1)
    {
        errno = EINVAL;
        return nullptr;
    }
    const uint32_t width = uint32_t(area.x1 - area.x0 + 1), height = uint32_t(area.y1 - area.y0 + 1);
    std::vector<uint32_t> opaque;
    try
    {
        opaque.resize(size_t(width) * height);
    }
    catch (const std::bad_alloc &)
    {
        errno = ENOMEM;
        return nullptr;
    }
    for (uint32_t y = 0; y < height; y++)
    {
        const uint32_t *row = pixels->pixels + size_t(area.y0 + y) * pixels->width + area.x0;
        std::transform(row, row + width, opaque.begin() + ptrdiff_t(size_t(y) * width),
                       [](uint32_t pixel) { return pixel | 0xFF000000u; });
    }
    uint64_t size = 0;
    uint8_t *bytes = vollo_encode_pixels(opaque.data(), width, height, width, "drawing.png", &size);
    if (bytes == nullptr)
    {
        errno = ENOMEM;
        return nullptr;
    }
    char *path = write_numbered(bytes, size, folder, when, ".png");
    const int saved_errno = errno;
    free(bytes);
    errno = saved_errno;
    return path;
}
