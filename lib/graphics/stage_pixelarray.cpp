// The staging path of a pixel array to the GPU. The pixel block already holds
// bytes R, G, B, A in memory, the layout that OpenGL uploads, so a full-width area
// goes up straight from the block with no copy at all.
#include <cstring>
#include <new>

#include "error/error.hpp"
#include "graphics.hpp"

namespace vollo_graphics
{

pixelarray_staging *staging_of(vollo_pixelarray *array)
{
    if (array->staging)
        return static_cast<pixelarray_staging *>(array->staging);
    // The texture opens SFML's shared GL context, for which SFML aborts when no
    // display can be reached: the trap turns that into a failure.
    pixelarray_staging *made = nullptr;
    auto build = [](void *out) { *static_cast<pixelarray_staging **>(out) = new (std::nothrow) pixelarray_staging(); };
    if (!run_trapping_abort(build, &made))
    {
        vollo_fail("cannot show a pixel array: no display (set DISPLAY or run under Xvfb)");
        return nullptr;
    }
    if (!made)
        vollo_fail("cannot show a pixel array: out of memory");
    array->staging = made;
    return made;
}

void delete_staging(vollo_pixelarray *array)
{
    delete static_cast<pixelarray_staging *>(array->staging);
    array->staging = nullptr;
}

bool stage_pixelarray(vollo_pixelarray *array, const region &area)
{
    if (!array->pixels || area.empty())
        return false;
    pixelarray_staging *staging = staging_of(array);
    if (!staging)
        return false;
    sf::Vector2u size(unsigned(area.width), unsigned(area.height));
    if (staging->texture.getSize() != size && !staging->texture.create(size.x, size.y))
    {
        vollo_fail("cannot show a %u x %u area of a pixel array: the GPU takes textures of at most %u x %u "
                   "(blit it in parts with the clip rectangle)",
                   size.x, size.y, sf::Texture::getMaximumSize(), sf::Texture::getMaximumSize());
        return false;
    }
    const size_t stride = size_t(array->width) * 4;
    const uint8_t *first =
        reinterpret_cast<const uint8_t *>(array->pixels) + size_t(area.y) * stride + size_t(area.x) * 4;
    if (area.width == int64_t(array->width))
    {
        staging->texture.update(first, size.x, size.y, 0, 0);
        return true;
    }
    // Rows of a narrower area are not contiguous in the block. Gathering them costs
    // one memcpy per row and spares an upload (and a GL flush) per row.
    const size_t row_bytes = size_t(size.x) * 4;
    try
    {
        staging->gathered.resize(row_bytes * size.y);
    }
    catch (const std::bad_alloc &)
    {
        vollo_fail("cannot show a pixel array: out of memory for a %u x %u clip region", size.x, size.y);
        return false;
    }
    for (unsigned row = 0; row < size.y; ++row)
        std::memcpy(staging->gathered.data() + row * row_bytes, first + row * stride, row_bytes);
    staging->texture.update(staging->gathered.data(), size.x, size.y, 0, 0);
    return true;
}

}  // namespace vollo_graphics
