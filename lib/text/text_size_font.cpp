#include <cmath>

#include "text.hpp"

vollo_size vollo_text_size_font(vollo_font *font, const char *text, int32_t pixel_size)
{
    sf::Text shaped;
    if (!vollo_text::make_text(shaped, font, text, pixel_size))
        return vollo_size{0, 0};
    const sf::FloatRect bounds = shaped.getLocalBounds();
    if (bounds.width <= 0 || bounds.height <= 0)
        return vollo_size{0, 0};
    return vollo_size{int32_t(std::ceil(bounds.left + bounds.width)), int32_t(std::ceil(bounds.top + bounds.height))};
}
