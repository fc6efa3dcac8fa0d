// A picture held in memory (what another program handed over) into a new pixel array:
// BMP through the library's own reader, every other kind through the image loader.
#include <cstring>

#include "image.hpp"

namespace vollo_image
{
namespace
{

const char *const no_array = "picture too large for the memory available";

vollo_pixelarray *decode_bmp_bytes(const std::vector<uint8_t> &bytes, const char **reason)
{
    bmp_layout layout;
    if ((*reason = parse_bmp(bytes.data(), bytes.size(), &layout)) != nullptr)
        return nullptr;
    if (!fits_in_arena(uint64_t(layout.width) * layout.height))
    {
        *reason = no_array;
        return nullptr;
    }
    if (layout.data_offset >= bytes.size())
    {
        *reason = "BMP pixel data cut short";
        return nullptr;
    }
    vollo_pixelarray *array = vollo_new_pixelarray(layout.width, layout.height);
    if (array == nullptr)
    {
        *reason = no_array;
        return nullptr;
    }
    *reason = decode_bmp(bytes.data() + layout.data_offset, bytes.size() - layout.data_offset, &layout,
                         array->pixels);
    if (*reason != nullptr)
    {
        vollo_delete_clipable(array);
        return nullptr;
    }
    return array;
}

}  // namespace

vollo_pixelarray *decode_bytes(const std::vector<uint8_t> &bytes, const char **reason)
{
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return decode_bmp_bytes(bytes, reason);
    std::vector<uint32_t> pixels;
    uint32_t width = 0, height = 0;
    if ((*reason = decode_other(bytes, &pixels, &width, &height)) != nullptr)
        return nullptr;
    vollo_pixelarray *array = fits_in_arena(uint64_t(width) * height) ? vollo_new_pixelarray(width, height)
                                                                        : nullptr;
    if (array == nullptr)
    {
        *reason = no_array;
        return nullptr;
    }
    memcpy(array->pixels, pixels.data(), pixels.size() * 4);
    return array;
}

}  // namespace vollo_image
