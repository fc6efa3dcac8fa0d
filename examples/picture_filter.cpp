// A command-line picture filter: reads a picture, applies filters to its pixels
// and writes the result. It opens no window and needs no display, so it runs on
// a server or in a script as well as on a desktop.
//
//   picture_filter IN OUT FILTER...   FILTER: gray, sepia, invert, blur, half
//
// Filters apply in order; `half` puts the original back into the left half, to
// compare. The output's format follows its name (.png, .bmp, .tga or .jpg).
// Shows: vollo_load_pixelarray_rgba and vollo_save_buffer without a window,
// working on the pixels of a pixel array in memory, and vollo_error to say why
// loading or saving failed.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "vollo.h"

namespace
{
typedef std::vector<uint32_t> Pixels;  // a copy of a pixel array's pixels, row by row

uint32_t gray(uint32_t c)
{
    // Luma weights: green looks brightest, blue darkest.
    const uint32_t y = (VOLLO_RED_OF(c) * 299 + VOLLO_GREEN_OF(c) * 587 + VOLLO_BLUE_OF(c) * 114) / 1000;
    return VOLLO_RGBA(y, y, y, VOLLO_ALPHA_OF(c));
}

uint32_t sepia(uint32_t c)
{
    const uint32_t y = VOLLO_RED_OF(gray(c));
    return VOLLO_RGBA(std::min(255u, y * 240 / 200), y * 200 / 200, y * 145 / 200, VOLLO_ALPHA_OF(c));
}

uint32_t invert(uint32_t c)
{
    return (c ^ 0x00FFFFFFu);  // every colour channel, alpha kept
}

// Each pixel becomes the average of the 5 x 5 square around it (fewer at the edges).
void blur(vollo_pixelarray *array)
{
    const int w = int(array->width), h = int(array->height), r = 2;
    const Pixels before(array->pixels, array->pixels + size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            uint32_t sum[4] = {}, count = 0;
            for (int yy = std::max(0, y - r); yy <= std::min(h - 1, y + r); ++yy)
                for (int xx = std::max(0, x - r); xx <= std::min(w - 1, x + r); ++xx, ++count)
                    for (int channel = 0; channel < 4; ++channel)
                        sum[channel] += before[size_t(yy) * w + xx] >> (8 * channel) & 0xFF;
            array->pixels[size_t(y) * w + x] =
                VOLLO_RGBA(sum[0] / count, sum[1] / count, sum[2] / count, sum[3] / count);
        }
}

// Applies one filter by name; false for a name it does not know.
bool apply(vollo_pixelarray *array, const Pixels &original, const char *name)
{
    const size_t count = size_t(array->width) * array->height;
    uint32_t (*per_pixel)(uint32_t) = nullptr;
    if (std::strcmp(name, "gray") == 0)
        per_pixel = gray;
    else if (std::strcmp(name, "sepia") == 0)
        per_pixel = sepia;
    else if (std::strcmp(name, "invert") == 0)
        per_pixel = invert;
    else if (std::strcmp(name, "blur") == 0)
        blur(array);
    else if (std::strcmp(name, "half") == 0)
    {
        for (size_t y = 0; y < array->height; ++y)
            std::copy_n(&original[y * array->width], array->width / 2, &array->pixels[y * array->width]);
    }
    else
        return false;
    if (per_pixel != nullptr)
        std::transform(array->pixels, array->pixels + count, array->pixels, per_pixel);
    return true;
}
}  // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: picture_filter IN OUT FILTER...  (gray, sepia, invert, blur, half)\n");
        return 2;
    }
    // The file's alpha is kept: a transparent PNG stays transparent.
    vollo_pixelarray *array = vollo_load_pixelarray_rgba(argv[1]);
    if (array == nullptr)
    {
        std::fprintf(stderr, "picture_filter: %s\n", vollo_error());
        return 1;
    }
    const Pixels original(array->pixels, array->pixels + size_t(array->width) * array->height);
    for (int i = 3; i < argc; ++i)
        if (!apply(array, original, argv[i]))
        {
            std::fprintf(stderr, "picture_filter: unknown filter '%s'\n", argv[i]);
            vollo_delete_clipable(array);
            return 2;
        }
    const bool saved = vollo_save_buffer(array, argv[2]);
    if (!saved)
        std::fprintf(stderr, "picture_filter: %s\n", vollo_error());
    else
        std::printf("%s: %u x %u pixels\n", argv[2], array->width, array->height);
    vollo_delete_clipable(array);
    return saved ? 0 : 1;
}
