// Text in a font file. On the window and pictures SFML draws it, a picture's clip
// rectangle applied through a view; on a pixel array the part that lands in the
// clip rectangle is drawn in white on transparent into a scratch render texture,
// whose alpha is the glyph coverage, and blended into the pixels.
#include <algorithm>
#include <cmath>

#include "error/error.hpp"
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

// Draws the text into one tile of the pixel array, no larger than a texture may be.
void blend_tile(vollo_pixelarray *array, sf::Text &text, vollo_position position, uint32_t color, const region &tile)
{
    sf::RenderTexture scratch;
    if (!scratch.create(unsigned(tile.width), unsigned(tile.height)))
        return;
    scratch.clear(sf::Color::Transparent);
    text.setFillColor(sf::Color::White);
    text.setPosition(float(int64_t(position.x) - tile.x), float(int64_t(position.y) - tile.y));
    scratch.draw(text);
    scratch.display();
    const sf::Image coverage = scratch.getTexture().copyToImage();
    const uint32_t alpha = color >> 24, rgb = color & 0xFFFFFF;
    for (int64_t y = 0; y < tile.height; ++y)
    {
        uint32_t *row = array->pixels + size_t(tile.y + y) * array->width + size_t(tile.x);
        for (int64_t x = 0; x < tile.width; ++x)
        {
            const uint32_t covered = coverage.getPixel(unsigned(x), unsigned(y)).a;
            if (covered)
                row[x] = vollo_shapes::blend_over(rgb | ((alpha * covered + 127) / 255) << 24, row[x]);
        }
    }
}

void blend_into_pixelarray(vollo_pixelarray *array, sf::Text &text, vollo_position position, uint32_t color,
                           const region &area)
{
    const sf::FloatRect bounds = text.getLocalBounds();
    // Everything the text can touch, one pixel of margin for anti-aliasing.
    const region reach{int64_t(position.x) + int64_t(std::floor(bounds.left)) - 1,
                       int64_t(position.y) + int64_t(std::floor(bounds.top)) - 1,
                       int64_t(std::ceil(bounds.width)) + 3, int64_t(std::ceil(bounds.height)) + 3};
    const region part = vollo_graphics::intersect(reach, area);
    if (part.empty())
        return;
    const int64_t largest = std::min<int64_t>(sf::Texture::getMaximumSize(), 1024);
    for (int64_t y = part.y; y < part.y + part.height; y += largest)
        for (int64_t x = part.x; x < part.x + part.width; x += largest)
        {
            const region tile{x, y, std::min(largest, part.x + part.width - x), std::min(largest, part.y + part.height - y)};
            blend_tile(array, text, position, color, tile);
        }
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
        // SFML keeps a font's glyphs in GL textures, so this path needs a display even
        // on a pixel array: without one its abort is trapped and nothing is drawn.
        struct job
        {
            vollo_pixelarray *array;
            sf::Text *text;
            vollo_position position;
            uint32_t color;
            const region *area;
        } request = {static_cast<vollo_pixelarray *>(buffer), &shaped, position, color, &area};
        auto blend = [](void *context) {
            job *request = static_cast<job *>(context);
            blend_into_pixelarray(request->array, *request->text, request->position, request->color, *request->area);
        };
        vollo_graphics::quiet_sfml_errors quiet;
        if (!vollo_graphics::run_trapping_abort(blend, &request))
            vollo_fail("cannot draw text in a font file: no display (set DISPLAY or run under Xvfb; the built-in "
                       "font of vollo_draw_text needs none)");
        return;
    }
    shaped.setFillColor(vollo_graphics::to_sf_color(color));
    shaped.setPosition(float(position.x), float(position.y));
    draw_in_area(buffer, shaped, area);
}
