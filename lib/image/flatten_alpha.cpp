// Transparent pixels take the colour of the empty drawing area, white, behind them.
#include "image.hpp"

namespace vollo_image
{
namespace
{

uint32_t over_white(uint32_t channel, uint32_t alpha)
{
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

}  // namespace

void flatten_alpha(uint32_t *pixels, size_t count, bool zero_everywhere_is_opaque, bool keep_alpha)
{
    uint32_t any_alpha = zero_everywhere_is_opaque ? 0 : 0xFF000000u;
    for (size_t i = 0; any_alpha == 0 && i < count; i++)
        any_alpha |= pixels[i] & 0xFF000000u;
    bool transparent = any_alpha != 0;
    for (size_t i = 0; i < count; i++)
    {
        uint32_t pixel = pixels[i], alpha = pixel >> 24;
        if (!transparent || alpha == 255)
            pixels[i] = pixel | 0xFF000000u;
        else if (!keep_alpha)
            pixels[i] = 0xFF000000u | over_white(pixel & 0xFF, alpha) |
                        over_white((pixel >> 8) & 0xFF, alpha) << 8 |
                        over_white((pixel >> 16) & 0xFF, alpha) << 16;
    }
}

}  // namespace vollo_image
