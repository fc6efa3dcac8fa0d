// Software triangle on pixel arrays.
#include "graphics.hpp"
#include "raster.hpp"

namespace vollo_graphics
{

void pixelarray_set_polygon(vollo_pixelarray *array, const vollo_position *points, const uint32_t *colors)
{
    if (!array->pixels)
        return;
    raster_polygon(array->width, array->height, points, colors, [array](int64_t x, int64_t y, uint32_t color) {
        array->pixels[size_t(y) * array->width + size_t(x)] = color;
    });
}

}  // namespace vollo_graphics
