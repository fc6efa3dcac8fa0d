// A thick line with round caps: the pixels whose centres lie within width / 2 of
// the segment joining the centres of the two end pixels. The shape is convex, so
// each row holds one span; it is found in floating point and its two ends are
// then settled pixel by pixel with the exact test.
#include <algorithm>
#include <cmath>

#include "shapes.hpp"

namespace
{

// The segment from (0, 0) to (dx, dy), in pixel units relative to the first end.
struct segment
{
    int64_t dx;
    int64_t dy;
    int64_t width;
};

// Whether the pixel centre at (x, y), relative to the first end's centre, is within
// width / 2 of the segment: 4 * distance^2 <= width^2, in integers when they fit.
bool within(const segment &s, int64_t x, int64_t y)
{
    const int64_t limit = int64_t(1) << 29;
    const bool small = std::max({std::llabs(s.dx), std::llabs(s.dy), std::llabs(x), std::llabs(y)}) < limit;
    if (small)
    {
        const __int128 length2 = __int128(s.dx) * s.dx + __int128(s.dy) * s.dy;
        const __int128 along = __int128(x) * s.dx + __int128(y) * s.dy;
        const __int128 w2 = __int128(s.width) * s.width;
        if (length2 == 0 || along <= 0)
            return 4 * (__int128(x) * x + __int128(y) * y) <= w2;
        if (along >= length2)
        {
            const __int128 ex = x - s.dx, ey = y - s.dy;
            return 4 * (ex * ex + ey * ey) <= w2;
        }
        const __int128 cross = __int128(s.dx) * y - __int128(s.dy) * x;
        return 4 * cross * cross <= w2 * length2;
    }
    const double dx = double(s.dx), dy = double(s.dy), px = double(x), py = double(y);
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
    const double ex = px - t * dx, ey = py - t * dy;
    return 4 * (ex * ex + ey * ey) <= double(s.width) * double(s.width);
}

// Narrows [low, high] to the x where low_value <= slope * x + offset <= high_value.
void keep_between(double slope, double offset, double low_value, double high_value, double &low, double &high)
{
    if (slope == 0)
    {
        if (offset < low_value || offset > high_value)
            low = 1, high = 0;
        return;
    }
    double a = (low_value - offset) / slope, b = (high_value - offset) / slope;
    low = std::max(low, std::min(a, b));
    high = std::min(high, std::max(a, b));
}

// Approximate x-interval of the shape on row y (relative), as the union of the
// two end discs and the band along the segment.
vollo_shapes::row_span approximate_row(const segment &s, int64_t y)
{
    const double h = double(s.width) / 2, dy = double(y);
    double low = HUGE_VAL, high = -HUGE_VAL;
    const double ends[2][2] = {{0.0, 0.0}, {double(s.dx), double(s.dy)}};
    for (const auto &end : ends)
    {
        const double end_x = end[0], gap = dy - end[1];
        if (std::fabs(gap) <= h)
        {
            const double half = std::sqrt(h * h - gap * gap);
            low = std::min(low, end_x - half), high = std::max(high, end_x + half);
        }
    }
    const double sx = double(s.dx), sy = double(s.dy), length = std::hypot(sx, sy);
    if (length > 0)
    {
        double band_low = -HUGE_VAL, band_high = HUGE_VAL;
        keep_between(sx, sy * dy, 0, length * length, band_low, band_high);      // along the segment
        keep_between(-sy, sx * dy, -h * length, h * length, band_low, band_high);  // across it
        if (band_low <= band_high)
            low = std::min(low, band_low), high = std::max(high, band_high);
    }
    if (low > high)
        return {1, 0};
    return {int64_t(std::ceil(low)), int64_t(std::floor(high))};
}

// The exact span of row y: the approximation, with each end moved until it is the
// last pixel inside.
vollo_shapes::row_span exact_row(const segment &s, int64_t y)
{
    vollo_shapes::row_span span = approximate_row(s, y);
    if (span.empty())
    {
        // A sliver the approximation may have missed lies within a pixel of it.
        const int64_t guess = span.first;
        if (!within(s, guess, y))
            return span;
        span = {guess, guess};
    }
    while (span.first <= span.last && !within(s, span.first, y))
        ++span.first;
    while (within(s, span.first - 1, y))
        --span.first;
    while (span.last >= span.first && !within(s, span.last, y))
        --span.last;
    while (within(s, span.last + 1, y))
        ++span.last;
    return span;
}

}  // namespace

void vollo_set_line_width(vollo_buffer *buffer, const vollo_position *points, int32_t width, uint32_t color)
{
    if (!buffer || !points || width <= 0)
        return;
    vollo_shapes::span_painter painter(buffer, color);
    const int64_t x0 = points[0].x, y0 = points[0].y;
    const segment s{int64_t(points[1].x) - x0, int64_t(points[1].y) - y0, width};
    const int64_t reach = width / 2 + 1;
    const int64_t top = std::min<int64_t>(0, s.dy) - reach, bottom = std::max<int64_t>(0, s.dy) + reach;
    vollo_shapes::draw_rows(
        painter, y0 + top, y0 + bottom,
        [&](int64_t y) {
            vollo_shapes::row_span span = exact_row(s, y - y0);
            return vollo_shapes::row_span{span.first + x0, span.last + x0};
        },
        true);
}
