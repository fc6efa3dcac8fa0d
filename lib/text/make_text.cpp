#include "text.hpp"

namespace vollo_text
{

bool make_text(sf::Text &result, vollo_font *font, const char *text, int32_t pixel_size)
{
    if (!font || !text || !*text || pixel_size < 1 || pixel_size > largest_pixel_size)
        return false;
    // Decoded here rather than by SFML, so that a malformed byte becomes the same
    // character on every kind of target.
    const std::vector<uint32_t> characters = code_points(text);
    result.setFont(font->font);
    result.setString(sf::String::fromUtf32(characters.begin(), characters.end()));
    result.setCharacterSize(unsigned(pixel_size));
    return true;
}

}  // namespace vollo_text
