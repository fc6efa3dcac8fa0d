// The shapes' pixels: lines, arrows, rectangles and ellipses, painted into an
// overlay made to their bounds and cut to where they may paint.
#include <algorithm>
#include <climits>
#include <cmath>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

namespace
{

paint_rect cut(paint_rect a, paint_rect b)
{
    return paint_rect{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
                      std::min(a.y1, b.y1)};
}

paint_rect corners(vollo_position from, vollo_position to)
{
    return paint_rect{std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x),
                      std::max(from.y, to.y)};
}

paint_rect grown(paint_rect r, int32_t by)
{
    return paint_rect{r.x0 - by, r.y0 - by, r.x1 + by, r.y1 + by};
}

// A thick straight line of squares `thickness` wide centred on its points,
// painted as its union per row (the points of one straight piece move by one
// column at most per step).
void thick_line(paint_overlay *overlay, vollo_position from, vollo_position to, int32_t thickness,
                uint32_t color)
{
    const int32_t low = -(thickness - 1) / 2, high = low + thickness - 1;
    const int32_t top = std::min(from.y, to.y) + low, rows = std::abs(to.y - from.y) + thickness;
    std::vector<int32_t> left(size_t(rows), INT32_MAX), right(size_t(rows), INT32_MIN);
    for (vollo_position p : line_points(from, to))
        for (int32_t k = 0; k < thickness; k++)
        {
            const size_t row = size_t(p.y + low + k - top);
            left[row] = std::min(left[row], p.x + low);
            right[row] = std::max(right[row], p.x + high);
        }
    for (int32_t row = 0; row < rows; row++)
        overlay_span(overlay, left[size_t(row)], right[size_t(row)], top + row, color);
}

// Fills the triangle a, b, c: the pixels whose centres lie inside it or on its
// edges.
void triangle(paint_overlay *overlay, const double (&x)[3], const double (&y)[3], uint32_t color)
{
    const paint_rect a = overlay->area;
    const int32_t y0 = std::max(a.y0, int32_t(std::floor(std::min({y[0], y[1], y[2]}))));
    const int32_t y1 = std::min(a.y1, int32_t(std::ceil(std::max({y[0], y[1], y[2]}))));
    for (int32_t py = y0; py <= y1; py++)
    {
        // Where the row's centre line crosses the edges.
        double lo = 1e18, hi = -1e18;
        const double cy = py + 0.5;
        for (int e = 0; e < 3; e++)
        {
            const double xa = x[e], ya = y[e], xb = x[(e + 1) % 3], yb = y[(e + 1) % 3];
            if ((cy < std::min(ya, yb)) || (cy > std::max(ya, yb)) || ya == yb)
                continue;
            const double cx = xa + (cy - ya) * (xb - xa) / (yb - ya);
            lo = std::min(lo, cx);
            hi = std::max(hi, cx);
        }
        if (lo <= hi)
            overlay_span(overlay, int32_t(std::ceil(lo - 0.5)), int32_t(std::floor(hi - 0.5)), py,
                         color);
    }
}

// Half the width of the ellipse with radii (a, b) on the row `dy` from its
// centre; -1 off it.
double ellipse_half(double a, double b, double dy)
{
    if (a <= 0 || b <= 0 || std::fabs(dy) > b)
        return -1;
    return a * std::sqrt(1 - (dy / b) * (dy / b));
}

} // namespace

vollo_position shape_constrain(vollo_position from, vollo_position to, bool diagonal_only)
{
    const int32_t dx = to.x - from.x, dy = to.y - from.y;
    const int32_t ax = std::abs(dx), ay = std::abs(dy), side = std::max(ax, ay);
    if (!diagonal_only && 2 * std::min(ax, ay) < std::max(ax, ay))
        return ax > ay ? vollo_position{to.x, from.y} : vollo_position{from.x, to.y};
    return vollo_position{from.x + (dx < 0 ? -side : side), from.y + (dy < 0 ? -side : side)};
}

void shape_line(paint_overlay *overlay, vollo_position from, vollo_position to, int32_t thickness,
                uint32_t color, paint_rect limit)
{
    overlay_reset(overlay, cut(grown(corners(from, to), thickness), limit));
    thick_line(overlay, from, to, thickness, color);
}

void shape_arrow(paint_overlay *overlay, vollo_position from, vollo_position to, int32_t thickness,
                 uint32_t color, paint_rect limit)
{
    // The head grows with the line: 3 thicknesses long and as wide, plus a few
    // pixels.
    const double head = 3.0 * thickness + 9, half = 1.5 * thickness + 5;
    overlay_reset(overlay, cut(grown(corners(from, to), int32_t(head + half) + 1), limit));
    const double dx = to.x - from.x, dy = to.y - from.y, length = std::hypot(dx, dy);
    if (length < 1)
        return thick_line(overlay, from, to, thickness, color);
    const double ux = dx / length, uy = dy / length;
    const double tip_x = to.x + 0.5, tip_y = to.y + 0.5;
    const double base_x = tip_x - ux * head, base_y = tip_y - uy * head;
    if (length > head)
        thick_line(overlay, from,
                   vollo_position{int32_t(std::floor(base_x)), int32_t(std::floor(base_y))},
                   thickness, color);
    const double x[3] = {tip_x, base_x - uy * half, base_x + uy * half};
    const double y[3] = {tip_y, base_y + ux * half, base_y - ux * half};
    triangle(overlay, x, y, color);
}

void shape_rectangle(paint_overlay *overlay, vollo_position from, vollo_position to,
                     int32_t thickness, bool filled, uint32_t color, paint_rect limit)
{
    const paint_rect r = corners(from, to);
    overlay_reset(overlay, cut(r, limit));
    for (int32_t y = r.y0; y <= r.y1; y++)
    {
        if (filled || y < r.y0 + thickness || y > r.y1 - thickness)
            overlay_span(overlay, r.x0, r.x1, y, color);
        else
        {
            overlay_span(overlay, r.x0, std::min(r.x1, r.x0 + thickness - 1), y, color);
            overlay_span(overlay, std::max(r.x0, r.x1 - thickness + 1), r.x1, y, color);
        }
    }
}

void shape_ellipse(paint_overlay *overlay, vollo_position from, vollo_position to,
                   int32_t thickness, bool filled, uint32_t color, paint_rect limit)
{
    const paint_rect r = corners(from, to);
    overlay_reset(overlay, cut(r, limit));
    const double cx = (r.x0 + r.x1 + 1) / 2.0, cy = (r.y0 + r.y1 + 1) / 2.0;
    const double a = (r.x1 - r.x0 + 1) / 2.0, b = (r.y1 - r.y0 + 1) / 2.0;
    for (int32_t y = std::max(r.y0, overlay->area.y0); y <= std::min(r.y1, overlay->area.y1); y++)
    {
        const double dy = y + 0.5 - cy, outer = ellipse_half(a, b, dy);
        if (outer < 0)
            continue;
        const int32_t x0 = int32_t(std::ceil(cx - outer - 0.5)),
                      x1 = int32_t(std::floor(cx + outer - 0.5));
        const double inner = filled ? -1 : ellipse_half(a - thickness, b - thickness, dy);
        if (inner < 0)
        {
            overlay_span(overlay, x0, x1, y, color);
            continue;
        }
        overlay_span(overlay, x0, int32_t(std::ceil(cx - inner - 0.5)) - 1, y, color);
        overlay_span(overlay, int32_t(std::floor(cx + inner - 0.5)) + 1, x1, y, color);
    }
}

void overlay_draw(const paint_overlay *overlay, vollo_pixelarray *canvas)
{
    const paint_rect a = overlay->area;
    for (int32_t y = a.y0; y <= a.y1; y++)
        for (int32_t x = a.x0; x <= a.x1; x++)
        {
            const size_t index = size_t(y - a.y0) * size_t(a.x1 - a.x0 + 1) + size_t(x - a.x0);
            if (overlay->painted[index] && uint32_t(x) < canvas->width &&
                uint32_t(y) < canvas->height)
                canvas->pixels[size_t(y) * canvas->width + size_t(x)] = overlay->pixels[index];
        }
}
