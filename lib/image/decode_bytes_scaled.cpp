// A picture in memory made smaller to fit: JPEG bytes through libjpeg's reduced
// decoding and then a box filter, every other kind decoded whole and then box-filtered.
#include <cstdlib>

#include "error/error.hpp"
#include "jpeg_scaled.hpp"

namespace
{

const char *reduce_any(const uint8_t *bytes, size_t size, uint32_t max_width, uint32_t max_height,
                       vollo_image::jpeg_reduced *out)
{
    if (vollo_image::kind_of(bytes, size) == VOLLO_KIND_JPEG)
        return vollo_image::decode_jpeg_reduced(vollo_image::jpeg_source{bytes, size, nullptr}, max_width,
                                                max_height, out);
    vollo_image::decoded_picture whole;
    const char *reason = vollo_image::decode_bytes(bytes, size, false, false, &whole);
    out->pixels = whole.pixels;
    out->width = whole.width;
    out->height = whole.height;
    vollo_image::fit_size(whole.width, whole.height, max_width, max_height, &out->fit_width, &out->fit_height);
    return reason;
}

}  // namespace

uint32_t *vollo_decode_bytes_scaled(const uint8_t *bytes, uint64_t size, uint32_t max_width, uint32_t max_height,
                                    uint32_t *width, uint32_t *height)
{
    vollo_image::jpeg_reduced got;
    const char *reason = (bytes == nullptr && size > 0) || !width || !height || max_width == 0 || max_height == 0
                             ? "no bytes, no place for the size, or a bound of 0"
                         : size > SIZE_MAX ? "picture with a zero size, or too large for the memory available"
                                           : reduce_any(bytes, size_t(size), max_width, max_height, &got);
    if (reason == nullptr && !vollo_image::fit_reduced(&got))
        reason = "out of memory for its smaller copy";
    gl_vollo_load_error = reason;
    if (reason != nullptr)
    {
        vollo_fail("cannot decode the picture: %s", reason);
        return nullptr;
    }
    *width = got.fit_width;
    *height = got.fit_height;
    return got.pixels;
}
