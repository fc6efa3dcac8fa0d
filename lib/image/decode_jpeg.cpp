#include "jpeg_rows.hpp"

namespace vollo_image
{

const char *decode_jpeg(const uint8_t *bytes, size_t size, uint32_t **pixels, uint32_t *width,
                        uint32_t *height)
{
    return decode_jpeg_rows(jpeg_source{bytes, size, nullptr}, nullptr, nullptr, pixels, width, height);
}

}  // namespace vollo_image
