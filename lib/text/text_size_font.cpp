#include <cmath>

#include "text.hpp"

vollo_size vollo_text_size_font(vollo_font *font, const char *text, int32_t pixel_size)
{
    // Measured with the font's own FreeType face: no display needed.
    vollo_text::text_layout layout;
    if (!vollo_text::lay_out(layout, font, text, pixel_size))
        return vollo_size{0, 0};
    if (layout.right - layout.left <= 0 || layout.bottom - layout.top <= 0)
        return vollo_size{0, 0};
    return vollo_size{int32_t(std::ceil(layout.right)), int32_t(std::ceil(layout.bottom))};
}
