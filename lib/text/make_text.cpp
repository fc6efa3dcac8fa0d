#include "text.hpp"

namespace vollo_text
{

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
