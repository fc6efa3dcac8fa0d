#include <new>

#include "graphics.hpp"

// The initial colour of every pixel: red 255, green 105, blue 180, alpha 255.
static const uint32_t initial_pixel = 0xFFB469FF;

vollo_pixelarray *vollo_new_pixelarray(uint32_t width, uint32_t height)
{
    // The pixel count must fit in 32 bits; a wrapped product would give a short block.
    uint64_t count = uint64_t(width) * uint64_t(height);
    if (count > UINT32_MAX)
    {
        vollo_fail("cannot make a %u x %u pixel array: more than 2^32 pixels", width, height);
        return nullptr;
    }

    // Value-initialised: the clip rectangle, the staging and every other field start at
    // zero. Plain memory only: the GPU staging is made at the first blit onto a window
    // or a picture, so no display is needed here.
    vollo_pixelarray *array = new (std::nothrow) vollo_pixelarray();
    if (!array)
    {
        vollo_fail("cannot make a %u x %u pixel array: out of memory", width, height);
        return nullptr;
    }

    array->pixels = static_cast<uint32_t *>(vollo_malloc(count * 4));
    if (!array->pixels)
    {
        delete array;
        vollo_fail_arena("", width, height);
        return nullptr;
    }
    for (uint64_t i = 0; i < count; ++i)
        array->pixels[i] = initial_pixel;

    array->type = VOLLO_PIXELARRAY;
    array->width = width;
    array->height = height;
    array->clip_x = 0;
    array->clip_y = 0;
    array->clip_width = int32_t(width);
    array->clip_height = int32_t(height);
    array->origin_x = 0.0;
    array->origin_y = 0.0;
    array->rotation = 0.0;
    array->scale_x = 1.0;
    array->scale_y = 1.0;
    vollo_track(array, "pixel array", "vollo_new_pixelarray", width, height);
    return array;
}
