#include "graphics.hpp"
#include "raster.hpp"

void vollo_set_line(vollo_buffer *buffer, const vollo_position *points, const uint32_t *colors)
{
    if (!buffer || !points || !colors)
        return;
    if (vollo_graphics::draws_logical_pixels(buffer))
        vollo_graphics::raster_line(buffer->width, buffer->height, points, colors,
                                    vollo_graphics::logical_pixels(buffer));
    else if (buffer->type == VOLLO_WINDOW || buffer->type == VOLLO_PICTURE)
    {
        sf::Vertex vertices[2];
        for (int i = 0; i < 2; ++i)
            vertices[i] = sf::Vertex(sf::Vector2f(float(points[i].x), float(points[i].y)),
                                     vollo_graphics::to_sf_color(colors[i]));
        vollo_graphics::draw_vertices(buffer, vertices, 2, sf::Lines);
    }
    else if (auto hook = gl_vollo_my_set_line)
        hook(buffer, points, colors);
    else if (buffer->type == VOLLO_PIXELARRAY)
        vollo_graphics::pixelarray_set_line(static_cast<vollo_pixelarray *>(buffer), points, colors);
}
