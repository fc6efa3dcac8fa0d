#include "graphics.hpp"
#include "raster.hpp"

// A polygon is always one triangle.
void vollo_set_polygon(vollo_buffer *buffer, const vollo_position *points, const uint32_t *colors)
{
    if (!buffer || !points || !colors)
        return;
    if (vollo_graphics::draws_logical_pixels(buffer))
        vollo_graphics::raster_polygon(buffer->width, buffer->height, points, colors,
                                       vollo_graphics::logical_pixels(buffer));
    else if (buffer->type == VOLLO_WINDOW || buffer->type == VOLLO_PICTURE)
    {
        sf::Vertex vertices[3];
        for (int i = 0; i < 3; ++i)
            vertices[i] = sf::Vertex(sf::Vector2f(float(points[i].x), float(points[i].y)),
                                     vollo_graphics::to_sf_color(colors[i]));
        vollo_graphics::draw_vertices(buffer, vertices, 3, sf::Triangles);
    }
    else if (auto hook = gl_vollo_my_set_polygon)
        hook(buffer, points, colors);
    else if (buffer->type == VOLLO_PIXELARRAY)
        vollo_graphics::pixelarray_set_polygon(static_cast<vollo_pixelarray *>(buffer), points, colors);
}
