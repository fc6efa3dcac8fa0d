#include <cstring>

#include "graphics.hpp"

namespace vollo_graphics
{

// Copies the source's clip region (the part inside the source) so that clip pixel
// (clip_x, clip_y) lands at the position, clipped to the destination. Source and
// destination may be the same array: rows are moved in an order that never reads
// a row already overwritten.
void pixelarray_blit(vollo_pixelarray *destination, const vollo_pixelarray *source, vollo_position position)
{
    if (!destination->pixels || !source->pixels)
        return;
    int64_t shift_x = 0, shift_y = 0;
    const region target = blit_target(destination, source, position, &shift_x, &shift_y);
    if (target.empty())
        return;
    const size_t row_bytes = size_t(target.width) * 4;
    const bool upwards = shift_y > 0;
    for (int64_t i = 0; i < target.height; ++i)
    {
        int64_t y = upwards ? target.y + target.height - 1 - i : target.y + i;
        uint32_t *to = destination->pixels + size_t(y) * destination->width + size_t(target.x);
        const uint32_t *from =
            source->pixels + size_t(y - shift_y) * source->width + size_t(target.x - shift_x);
        std::memmove(to, from, row_bytes);
    }
}

}  // namespace vollo_graphics
