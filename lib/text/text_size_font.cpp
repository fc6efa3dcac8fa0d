#include <cmath>

#include "text.hpp"

namespace vollo_text
{

// The SFML text of a call, placed at the origin; false for arguments that draw nothing.
bool make_text(sf::Text &result, vollo_font *font, const char *text, int32_t pixel_size)
{
    if (!font || !text || !*text || pixel_size < 1 || pixel_size > largest_pixel_size)
        return false;
    const char *end = text;
    while (*end)
        ++end;
    result.setFont(font->font);
    result.setString(sf::String::fromUtf8(text, end));
    result.setCharacterSize(unsigned(pixel_size));
    return true;
}

}  // namespace vollo_text

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
