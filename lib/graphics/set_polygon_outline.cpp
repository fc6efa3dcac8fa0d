#include "graphics.hpp"

// Each side is a vollo_set_line, so an outline lands on the same pixels as its sides
// drawn one by one, on every kind of buffer.
void vollo_set_polygon_outline(vollo_buffer *buffer, const vollo_position *points, uint32_t count, uint32_t color)
{
    if (!buffer || !points || count == 0)
        return;
    if (count == 1)
    {
        vollo_set_pixel(buffer, points[0], color);
        return;
    }
    for (uint32_t i = 0; i < count; ++i)
    {
        // Two points make one segment, not a segment drawn there and back.
        if (count == 2 && i == 1)
            break;
        vollo_set_line_color(buffer, points[i], points[(i + 1) % count], color);
    }
}
