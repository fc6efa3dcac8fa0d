// Software fill and point on pixel arrays.
#include "graphics.hpp"

namespace vollo_graphics
{

// Replaces every pixel of the clip rectangle (the part inside the array).
void pixelarray_fill(vollo_pixelarray *array, uint32_t color)
{
    if (!array->pixels)
        return;
    region area = clip_inside(array);
    for (int64_t y = area.y; y < area.y + area.height; ++y)
    {
        uint32_t *row = array->pixels + size_t(y) * array->width;
        for (int64_t x = area.x; x < area.x + area.width; ++x)
            row[x] = color;
    }
}

void pixelarray_set_pixel(vollo_pixelarray *array, vollo_position position, uint32_t color)
{
    if (!array->pixels || position.x < 0 || position.y < 0 || uint32_t(position.x) >= array->width ||
        uint32_t(position.y) >= array->height)
        return;
    array->pixels[size_t(position.y) * array->width + size_t(position.x)] = color;
}

}  // namespace vollo_graphics
