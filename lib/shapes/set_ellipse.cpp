#include "shapes.hpp"

void vollo_set_ellipse(vollo_buffer *buffer, vollo_position centre, int32_t radius_x, int32_t radius_y,
                       uint32_t color, bool filled)
{
    if (!buffer || radius_x <= 0 || radius_y <= 0)
        return;
    vollo_shapes::span_painter painter(buffer, color);
    const int64_t cx = centre.x, cy = centre.y, a = radius_x, b = radius_y;
    vollo_shapes::draw_rows(
        painter, cy - b, cy + b - 1, [&](int64_t y) { return vollo_shapes::ellipse_span(cx, cy, a, b, y); },
        filled);
}
