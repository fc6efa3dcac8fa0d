#include "graphics.hpp"

void vollo_fill(vollo_buffer *buffer, uint32_t color)
{
    if (!buffer)
        return;
    sf::RectangleShape shape;
    shape.setFillColor(vollo_graphics::to_sf_color(color));
    if (buffer->type == VOLLO_WINDOW || buffer->type == VOLLO_PICTURE)
    {
        sf::RenderTarget *target = vollo_graphics::render_target_of(buffer);
        if (!target)
            return;
        if (buffer->type == VOLLO_WINDOW)
        {
            shape.setSize(sf::Vector2f(float(buffer->width), float(buffer->height)));
            shape.setPosition(0.f, 0.f);
        }
        else
        {
            const vollo_clipable *picture = static_cast<const vollo_clipable *>(buffer);
            shape.setSize(sf::Vector2f(float(picture->clip_width), float(picture->clip_height)));
            shape.setPosition(float(picture->clip_x), float(picture->clip_y));
        }
        // Default states blend: a colour with alpha below 255 is laid over the content.
        target->draw(shape, sf::RenderStates::Default);
        return;
    }
    if (auto hook = gl_vollo_my_fill)
        hook(buffer, color);
    else if (buffer->type == VOLLO_PIXELARRAY)
        vollo_graphics::pixelarray_fill(static_cast<vollo_pixelarray *>(buffer), color);
}
