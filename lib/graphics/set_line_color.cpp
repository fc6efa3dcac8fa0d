#include "graphics.hpp"

void vollo_set_line_color(vollo_buffer *buffer, vollo_position a, vollo_position b, uint32_t color)
{
    const vollo_position points[2] = {a, b};
    const uint32_t colors[2] = {color, color};
    vollo_set_line(buffer, points, colors);
}
