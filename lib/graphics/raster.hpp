// The software rasterisers of lines and triangles, on a grid of width x height
// pixels: each pixel inside the grid is handed to plot(x, y, color). Pixel arrays
// write them into memory; a window with a logical size draws each as one logical
// pixel, so that both show the same pixels.
#ifndef VOLLO_RASTER_HPP
#define VOLLO_RASTER_HPP

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "vollo.h"

namespace vollo_graphics
{
namespace raster
{

// floor(numerator / denominator) for a positive denominator.
inline __int128 floor_divide(__int128 numerator, __int128 denominator)
{
    __int128 quotient = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0)
        --quotient;
    return quotient;
}

// start + delta * step / steps, rounded to nearest (halves upwards).
inline int64_t interpolate(int64_t start, int64_t delta, int64_t step, int64_t steps)
{
    return start + int64_t(floor_divide(__int128(2) * delta * step + steps, __int128(2) * steps));
}

inline uint32_t interpolate_color(uint32_t from, uint32_t to, int64_t step, int64_t steps)
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

// Coordinates are doubled so that pixel centres (x + 0.5, y + 0.5) are integers;
// edge values can then exceed 64 bits for far-away vertices.
struct point
{
    __int128 x;
    __int128 y;
};

// Twice the signed area of (from, to, p), positive when p lies on the inner side
// of the edge from -> to in a triangle of positive orientation (y downwards).
inline __int128 edge_value(const point &from, const point &to, const point &p)
{
    return (to.x - from.x) * (p.y - from.y) - (to.y - from.y) * (p.x - from.x);
}

// With positive orientation, a top edge runs exactly horizontally to the right
// (the triangle lies below it) and a left edge runs upwards.
inline bool top_or_left(const point &from, const point &to)
{
    return to.y < from.y || (to.y == from.y && to.x > from.x);
}

inline uint32_t blend_color(const uint32_t colors[3], const double weights[3])
{
    uint32_t color = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        double channel = 0.0;
        for (int i = 0; i < 3; ++i)
            channel += weights[i] * double((colors[i] >> shift) & 0xFF);
        channel = std::floor(channel + 0.5);
        color |= uint32_t(std::clamp(channel, 0.0, 255.0)) << shift;
    }
    return color;
}

}  // namespace raster

// One pixel per step along the major axis, both ends included, each colour channel
// interpolated between the two ends.
template <typename Plot>
void raster_line(int64_t width, int64_t height, const vollo_position *points, const uint32_t *colors, Plot plot)
{
    using namespace raster;
    const int64_t x0 = points[0].x, y0 = points[0].y;
    const int64_t dx = int64_t(points[1].x) - x0, dy = int64_t(points[1].y) - y0;
    const int64_t steps = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    if (steps == 0)
    {
        if (x0 >= 0 && y0 >= 0 && x0 < width && y0 < height)
            plot(x0, y0, colors[0]);
        return;
    }
    // Along the major axis the coordinate moves by exactly one per step, so the
    // steps that stay inside the grid on that axis form one interval.
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
        plot(x, y, interpolate_color(colors[0], colors[1], step, steps));
    }
}

// The coverage rule of OpenGL rasterisation: a pixel is drawn when its centre lies
// inside the triangle, and a centre exactly on an edge counts only for a top or a
// left edge, so that triangles sharing an edge never both draw the pixels along it.
// Colours are interpolated barycentrically at the pixel centre.
template <typename Plot>
void raster_polygon(int64_t width, int64_t height, const vollo_position *points, const uint32_t *colors, Plot plot)
{
    using namespace raster;
    point v[3];
    uint32_t color[3];
    for (int i = 0; i < 3; ++i)
    {
        v[i] = point{__int128(points[i].x) * 2, __int128(points[i].y) * 2};
        color[i] = colors[i];
    }
    __int128 area = edge_value(v[0], v[1], v[2]);
    if (area == 0)
        return;
    if (area < 0)
    {
        std::swap(v[1], v[2]);
        std::swap(color[1], color[2]);
        area = -area;
    }
    // Pixels whose centres can lie in the bounding box, within the grid.
    const int64_t left = std::max<int64_t>(0, std::min({points[0].x, points[1].x, points[2].x}));
    const int64_t top = std::max<int64_t>(0, std::min({points[0].y, points[1].y, points[2].y}));
    const int64_t right = std::min<int64_t>(width, std::max({points[0].x, points[1].x, points[2].x}));
    const int64_t bottom = std::min<int64_t>(height, std::max({points[0].y, points[1].y, points[2].y}));
    // Edge i is the one facing vertex i, so its value weighs vertex i.
    const point *from[3] = {&v[1], &v[2], &v[0]};
    const point *to[3] = {&v[2], &v[0], &v[1]};
    bool inclusive[3];
    for (int i = 0; i < 3; ++i)
        inclusive[i] = top_or_left(*from[i], *to[i]);
    for (int64_t y = top; y < bottom; ++y)
        for (int64_t x = left; x < right; ++x)
        {
            point centre{__int128(x) * 2 + 1, __int128(y) * 2 + 1};
            double weights[3];
            bool inside = true;
            for (int i = 0; i < 3 && inside; ++i)
            {
                __int128 value = edge_value(*from[i], *to[i], centre);
                inside = value > 0 || (value == 0 && inclusive[i]);
                weights[i] = double(value) / double(area);
            }
            if (inside)
                plot(x, y, blend_color(color, weights));
        }
}

}  // namespace vollo_graphics

#endif
