#include <new>

#include "adopted.hpp"
#include "graphics.hpp"

vollo_pixelarray *vollo_adopt_pixels(uint32_t *pixels, uint32_t width, uint32_t height)
{
    if (!pixels)
    {
        vollo_fail("cannot adopt pixels: no pixels given");
        return nullptr;
    }
    if (uint64_t(width) * height > UINT32_MAX)
    {
        vollo_fail("cannot adopt %u x %u pixels: more than 2^32 pixels", width, height);
        return nullptr;
    }
    // Value-initialised as vollo_new_pixelarray makes its records: no staging yet.
    vollo_pixelarray *array = new (std::nothrow) vollo_pixelarray();
    if (!array || !vollo_graphics::note_adopted(array))
    {
        delete array;
        vollo_fail("cannot adopt %u x %u pixels: out of memory", width, height);
        return nullptr;
    }
    array->type = VOLLO_PIXELARRAY;
    array->width = width;
    array->height = height;
    array->clip_width = int32_t(width);
    array->clip_height = int32_t(height);
    array->scale_x = 1.0;
    array->scale_y = 1.0;
    array->pixels = pixels;
    vollo_track(array, "pixel array", "vollo_adopt_pixels", width, height);
    return array;
}
