#include "graphics.hpp"

void vollo_set_pixel(vollo_buffer *buffer, vollo_position position, uint32_t color)
{
    if (!buffer)
        return;
    if (vollo_graphics::draws_logical_pixels(buffer))
    {
        if (position.x >= 0 && position.y >= 0 && uint32_t(position.x) < buffer->width &&
            uint32_t(position.y) < buffer->height)
        {
            vollo_graphics::logical_pixels pixels(buffer);
            pixels(position.x, position.y, color);
        }
    }
    else if (buffer->type == VOLLO_WINDOW || buffer->type == VOLLO_PICTURE)
    {
        sf::Vertex vertex(sf::Vector2f(float(position.x), float(position.y)), vollo_graphics::to_sf_color(color));
        vollo_graphics::draw_vertices(buffer, &vertex, 1, sf::Points);
    }
    else if (auto hook = gl_vollo_my_set_pixel)
        hook(buffer, position, color);
    else if (buffer->type == VOLLO_PIXELARRAY)
        vollo_graphics::pixelarray_set_pixel(static_cast<vollo_pixelarray *>(buffer), position, color);
}
