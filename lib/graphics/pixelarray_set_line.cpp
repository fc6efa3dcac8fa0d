// Software line on pixel arrays: one pixel per step along the major axis, both
// ends included, each colour channel interpolated between the two ends.
#include <algorithm>

#include "graphics.hpp"

namespace vollo_graphics
{

// floor(numerator / denominator) for a positive denominator.
static __int128 floor_divide(__int128 numerator, __int128 denominator)
{
    __int128 quotient = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0)
        --quotient;
    return quotient;
}

// start + delta * step / steps, rounded to nearest (halves upwards).
static int64_t interpolate(int64_t start, int64_t delta, int64_t step, int64_t steps)
{
    return start + int64_t(floor_divide(__int128(2) * delta * step + steps, __int128(2) * steps));
}

static uint32_t interpolate_color(uint32_t from, uint32_t to, int64_t step, int64_t steps)
{
    uint32_t color = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        int64_t a = (from >> shift) & 0xFF;
        int64_t b = (to >> shift) & 0xFF;
        color |= uint32_t(interpolate(a, b - a, step, steps)) << shift;
    }
    return color;
}

void pixelarray_set_line(vollo_pixelarray *array, const vollo_position *points, const uint32_t *colors)
{
    if (!array->pixels)
        return;
    const int64_t x0 = points[0].x, y0 = points[0].y;
    const int64_t dx = int64_t(points[1].x) - x0, dy = int64_t(points[1].y) - y0;
    const int64_t width = array->width, height = array->height;
    const int64_t steps = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    if (steps == 0)
    {
        pixelarray_set_pixel(array, points[0], colors[0]);
        return;
    }
    // Along the major axis the coordinate moves by exactly one per step, so the
    // steps that stay inside the array on that axis form one interval.
    const bool x_major = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const int64_t major_start = x_major ? x0 : y0;
    const int64_t major_size = x_major ? width : height;
    const int64_t direction = (x_major ? dx : dy) > 0 ? 1 : -1;
    int64_t first = direction > 0 ? -major_start : major_start - (major_size - 1);
    int64_t last = direction > 0 ? major_size - 1 - major_start : major_start;
    first = std::max<int64_t>(first, 0);
    last = std::min(last, steps);
    for (int64_t step = first; step <= last; ++step)
    {
        int64_t x = x_major ? x0 + direction * step : interpolate(x0, dx, step, steps);
        int64_t y = x_major ? interpolate(y0, dy, step, steps) : y0 + direction * step;
        if (x < 0 || y < 0 || x >= width || y >= height)
            continue;
        array->pixels[size_t(y) * size_t(width) + size_t(x)] = interpolate_color(colors[0], colors[1], step, steps);
    }
}

}  // namespace vollo_graphics
