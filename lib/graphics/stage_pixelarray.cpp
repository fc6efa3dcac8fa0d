// The staging path of a pixel array to the GPU. The pixel block already holds
// bytes R, G, B, A in memory, the layout that sf::Image keeps and OpenGL
// uploads, so each row of the area is one memcpy and the whole area one upload.
#include <cstring>
#include <vector>

#include "graphics.hpp"

namespace vollo_graphics
{

bool copy_to_staging_image(vollo_pixelarray *array, const region &area)
{
    if (!array->pixels || area.empty())
        return false;
    // The image is made at the array's size; remake it should a program have
    // changed the record's dimensions since.
    sf::Vector2u size(array->width, array->height);
    if (array->image.getSize() != size)
        array->image.create(size.x, size.y);
    // sf::Image keeps its pixels in a vector that the image owns and that is not
    // const; writing whole rows through it spares a call per pixel.
    uint8_t *image = const_cast<uint8_t *>(array->image.getPixelsPtr());
    if (!image)
        return false;
    const size_t row_bytes = size_t(area.width) * 4;
    for (int64_t y = area.y; y < area.y + area.height; ++y)
    {
        size_t offset = (size_t(y) * array->width + size_t(area.x)) * 4;
        std::memcpy(image + offset, reinterpret_cast<const uint8_t *>(array->pixels) + offset, row_bytes);
    }
    return true;
}

bool stage_pixelarray(vollo_pixelarray *array, const region &area)
{
    if (!copy_to_staging_image(array, area))
        return false;
    sf::Vector2u size(unsigned(area.width), unsigned(area.height));
    if (array->staging.getSize() != size && !array->staging.create(size.x, size.y))
        return false;
    const uint8_t *image = array->image.getPixelsPtr();
    const size_t stride = size_t(array->width) * 4;
    const uint8_t *first = image + size_t(area.y) * stride + size_t(area.x) * 4;
    if (area.width == int64_t(array->width))
    {
        array->staging.update(first, size.x, size.y, 0, 0);
        return true;
    }
    // Rows of a narrower area are not contiguous in the image. Gathering them in a
    // buffer kept from blit to blit costs one more memcpy and spares an upload
    // (and a GL flush) per row. The library runs on one thread.
    static std::vector<uint8_t> gathered;
    const size_t row_bytes = size_t(size.x) * 4;
    gathered.resize(row_bytes * size.y);
    for (unsigned row = 0; row < size.y; ++row)
        std::memcpy(gathered.data() + row * row_bytes, first + row * stride, row_bytes);
    array->staging.update(gathered.data(), size.x, size.y, 0, 0);
    return true;
}

}  // namespace vollo_graphics
