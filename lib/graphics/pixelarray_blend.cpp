#include <vector>

#include "graphics.hpp"
#include "shapes/shapes.hpp"

namespace vollo_graphics
{

// As pixelarray_blit, each source pixel laid over the one under it. A source that
// is also the destination is read from a copy of its region, since blending reads
// what is under every pixel it writes.
void pixelarray_blend(vollo_pixelarray *destination, const vollo_pixelarray *source, vollo_position position)
{
    if (!destination->pixels || !source->pixels)
        return;
    int64_t shift_x = 0, shift_y = 0;
    const region target = blit_target(destination, source, position, &shift_x, &shift_y);
    if (target.empty())
        return;
    std::vector<uint32_t> copy;
    const uint32_t *from = source->pixels;
    size_t stride = source->width;
    int64_t left = target.x - shift_x, top = target.y - shift_y;
    if (source == destination)
    {
        copy.resize(size_t(target.width) * size_t(target.height));
        for (int64_t y = 0; y < target.height; ++y)
            for (int64_t x = 0; x < target.width; ++x)
                copy[size_t(y * target.width + x)] = source->pixels[size_t(top + y) * stride + size_t(left + x)];
        from = copy.data(), stride = size_t(target.width), left = 0, top = 0;
    }
    for (int64_t y = 0; y < target.height; ++y)
    {
        uint32_t *to = destination->pixels + size_t(target.y + y) * destination->width + size_t(target.x);
        const uint32_t *row = from + size_t(top + y) * stride + size_t(left);
        for (int64_t x = 0; x < target.width; ++x)
            to[x] = vollo_shapes::blend_over(row[x], to[x]);
    }
}

}  // namespace vollo_graphics
