#include <cmath>

#include "error/error.hpp"
#include "graphics/graphics.hpp"
#include "text.hpp"

vollo_size vollo_text_size_font(vollo_font *font, const char *text, int32_t pixel_size)
{
    sf::Text shaped;
    if (!vollo_text::make_text(shaped, font, text, pixel_size))
        return vollo_size{0, 0};
    // Measuring loads glyphs into SFML's GL textures: without a display its abort is trapped.
    struct job
    {
        sf::Text *text;
        sf::FloatRect bounds;
    } request = {&shaped, sf::FloatRect()};
    auto measure = [](void *context) {
        job *request = static_cast<job *>(context);
        request->bounds = request->text->getLocalBounds();
    };
    vollo_graphics::quiet_sfml_errors quiet;
    if (!vollo_graphics::run_trapping_abort(measure, &request))
    {
        vollo_fail("cannot measure text in a font file: no display (set DISPLAY or run under Xvfb; the built-in "
                   "font of vollo_text_size needs none)");
        return vollo_size{0, 0};
    }
    const sf::FloatRect bounds = request.bounds;
    if (bounds.width <= 0 || bounds.height <= 0)
        return vollo_size{0, 0};
    return vollo_size{int32_t(std::ceil(bounds.left + bounds.width)), int32_t(std::ceil(bounds.top + bounds.height))};
}
