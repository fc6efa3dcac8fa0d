// Software triangle on pixel arrays, with the coverage rule of OpenGL
// rasterisation: a pixel is drawn when its centre lies inside the triangle, and a
// centre exactly on an edge counts only for a top or a left edge, so that
// triangles sharing an edge never both draw the pixels along it. Colours are
// interpolated barycentrically at the pixel centre.
#include <algorithm>
#include <cmath>

#include "graphics.hpp"

namespace vollo_graphics
{

namespace
{

// Coordinates are doubled so that pixel centres (x + 0.5, y + 0.5) are integers;
// edge values can then exceed 64 bits for far-away vertices.
struct point
{
    __int128 x;
    __int128 y;
};

// Twice the signed area of (from, to, p), positive when p lies on the inner side
// of the edge from -> to in a triangle of positive orientation (y downwards).
__int128 edge_value(const point &from, const point &to, const point &p)
{
    return (to.x - from.x) * (p.y - from.y) - (to.y - from.y) * (p.x - from.x);
}

// With positive orientation, a top edge runs exactly horizontally to the right
// (the triangle lies below it) and a left edge runs upwards.
bool top_or_left(const point &from, const point &to)
{
    return to.y < from.y || (to.y == from.y && to.x > from.x);
}

uint32_t blend_color(const uint32_t colors[3], const double weights[3])
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

}  // namespace

void pixelarray_set_polygon(vollo_pixelarray *array, const vollo_position *points, const uint32_t *colors)
{
    if (!array->pixels)
        return;
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
    // Pixels whose centres can lie in the bounding box, within the array.
    int64_t left = std::max<int64_t>(0, std::min({points[0].x, points[1].x, points[2].x}));
    int64_t top = std::max<int64_t>(0, std::min({points[0].y, points[1].y, points[2].y}));
    int64_t right = std::min<int64_t>(array->width, std::max({points[0].x, points[1].x, points[2].x}));
    int64_t bottom = std::min<int64_t>(array->height, std::max({points[0].y, points[1].y, points[2].y}));
    // Edge i is the one facing vertex i, so its value weighs vertex i.
    const point *from[3] = {&v[1], &v[2], &v[0]};
    const point *to[3] = {&v[2], &v[0], &v[1]};
    bool inclusive[3];
    for (int i = 0; i < 3; ++i)
        inclusive[i] = top_or_left(*from[i], *to[i]);
    for (int64_t y = top; y < bottom; ++y)
    {
        uint32_t *row = array->pixels + size_t(y) * array->width;
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
                row[x] = blend_color(color, weights);
        }
    }
}

}  // namespace vollo_graphics
