#include "shapes.hpp"

void vollo_set_rectangle(vollo_buffer *buffer, vollo_position corner, int32_t width, int32_t height,
                         uint32_t color, bool filled)
{
    if (!buffer || width <= 0 || height <= 0)
        return;
    vollo_shapes::span_painter painter(buffer, color);
    const int64_t left = corner.x, right = left + width - 1, top = corner.y, bottom = top + height - 1;
    if (filled)
    {
        painter.block(top, bottom, left, right);
        return;
    }
    // Four pieces that never overlap, so a translucent border is blended once everywhere.
    painter.span(top, left, right);
    if (bottom > top)
        painter.span(bottom, left, right);
    if (bottom - top >= 2)
    {
        painter.block(top + 1, bottom - 1, left, left);
        if (right > left)
            painter.block(top + 1, bottom - 1, right, right);
    }
}
