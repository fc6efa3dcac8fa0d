// Pixel routines of the paint program. The canvas may be a loaded picture of any size,
// and stamps may reach past its edges, so every access is clipped to the array.
#include <algorithm>

#include "interface.h"
#include "state.h"

static bool inside(const vollo_pixelarray *array, int64_t x, int64_t y)
{
    return array != nullptr && array->pixels != nullptr && x >= 0 && y >= 0 &&
           x < static_cast<int64_t>(array->width) && y < static_cast<int64_t>(array->height);
}

int puxpixel(vollo_pixelarray *array, vollo_position position, uint32_t color)
{
    if (inside(array, position.x, position.y))
        array->pixels[static_cast<size_t>(position.y) * array->width + position.x] = color;
    return 0;
}

uint32_t puxcolor(vollo_pixelarray *array, vollo_position position)
{
    if (!inside(array, position.x, position.y))
        return 0;
    return array->pixels[static_cast<size_t>(position.y) * array->width + position.x];
}

void draw_pixel(vollo_pixelarray *array, uint32_t color, int32_t x, int32_t y)
{
    puxpixel(array, vollo_position{x, y}, color);
}

// 64-bit bounds, so that a corner near the int32 limits cannot wrap around.
static void fill_clipped(vollo_pixelarray *array, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                         uint32_t color)
{
    if (array == nullptr || array->pixels == nullptr)
        return;
    x0 = std::max<int64_t>(x0, 0);
    y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, static_cast<int64_t>(array->width) - 1);
    y1 = std::min<int64_t>(y1, static_cast<int64_t>(array->height) - 1);
    for (int64_t x = x0; x <= x1; x++)
        for (int64_t y = y0; y <= y1; y++)
            array->pixels[static_cast<size_t>(y) * array->width + x] = color;
}

void pux_rectangle(vollo_pixelarray *array, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                   uint32_t color)
{
    fill_clipped(array, x0, y0, x1, y1, color);
}

void puxsquare(vollo_pixelarray *array, uint32_t color, vollo_position position,
               const tool_state *size)
{
    if (size == nullptr)
        return;
    fill_clipped(array, position.x, position.y, static_cast<int64_t>(position.x) + size->width,
                 static_cast<int64_t>(position.y) + size->height, color);
}
