#include <cstdlib>

#include "error/error.hpp"
#include "graphics/graphics.hpp"
#include "scale.hpp"

// The source's clip rectangle, cut to the array, is what gets scaled, as a blit takes it.
vollo_pixelarray *vollo_scale_pixelarray(const vollo_pixelarray *source, uint32_t width, uint32_t height,
                                         vollo_filter filter)
{
    if (!source || source->type != VOLLO_PIXELARRAY || width == 0 || height == 0 ||
        uint64_t(width) * height > UINT32_MAX)
    {
        vollo_fail("cannot scale a pixel array to %u x %u: no pixel array, or a size of 0 or of more than "
                   "2^32 pixels", width, height);
        return nullptr;
    }
    const vollo_graphics::region part = vollo_graphics::clip_inside(source);
    if (part.empty())
    {
        vollo_fail("cannot scale a pixel array whose clip rectangle holds no pixel");
        return nullptr;
    }
    uint32_t *pixels = static_cast<uint32_t *>(std::malloc(size_t(width) * height * 4));
    const uint32_t *from = source->pixels + size_t(part.y) * source->width + size_t(part.x);
    if (!pixels || !vollo_image::scale_pixels(from, uint32_t(part.width), uint32_t(part.height), source->width,
                                              pixels, width, height, filter))
    {
        std::free(pixels);
        vollo_fail("cannot scale a pixel array to %u x %u: out of memory", width, height);
        return nullptr;
    }
    vollo_pixelarray *array = vollo_adopt_pixels(pixels, width, height);
    if (!array)
        std::free(pixels);
    else
        vollo_track(array, "pixel array", "vollo_scale_pixelarray", width, height);
    return array;
}
