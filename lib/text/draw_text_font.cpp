// Text in a font file. On the window and pictures SFML draws it, a picture's clip
// rectangle applied through a view; on a pixel array FreeType draws the part that
// lands in the clip rectangle, with no GPU.
#include "shapes/shapes.hpp"
#include "text.hpp"

namespace
{

using vollo_graphics::region;

// Draws on a window or picture, kept inside `area` by a view whose viewport is
// exactly that rectangle of the target.
void draw_in_area(vollo_buffer *buffer, const sf::Text &text, const region &area)
{
    sf::RenderTarget *target = vollo_graphics::render_target_of(buffer);
    if (!target)
        return;
    const sf::View saved = target->getView();
    const float width = float(buffer->width), height = float(buffer->height);
    sf::View view(sf::FloatRect(float(area.x), float(area.y), float(area.width), float(area.height)));
    // Within the viewport already in force: a window may show its space in part of itself.
    const sf::FloatRect outer = saved.getViewport();
    view.setViewport(sf::FloatRect(outer.left + outer.width * float(area.x) / width,
                                   outer.top + outer.height * float(area.y) / height,
                                   outer.width * float(area.width) / width, outer.height * float(area.height) / height));
    target->setView(view);
    target->draw(text, sf::RenderStates::Default);
    target->setView(saved);
}

}  // namespace

void vollo_draw_text_font(vollo_buffer *buffer, vollo_font *font, const char *text, vollo_position position,
                          int32_t pixel_size, uint32_t color)
{
    sf::Text shaped;
    if (!buffer || !vollo_text::make_text(shaped, font, text, pixel_size) || color >> 24 == 0)
        return;
    const region area = vollo_shapes::drawable_area(buffer);
    if (area.empty())
        return;
    if (buffer->type == VOLLO_PIXELARRAY)
    {
        vollo_text::draw_on_pixelarray(static_cast<vollo_pixelarray *>(buffer), font, text, position, pixel_size,
                                       color, area);
        return;
    }
    shaped.setFillColor(vollo_graphics::to_sf_color(color));
    shaped.setPosition(float(position.x), float(position.y));
    draw_in_area(buffer, shaped, area);
}
