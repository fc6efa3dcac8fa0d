// The one picture decoder: bytes of a file in memory into new RGBA pixels, the kind told
// by the signature table. BMP files through the library's own reader, JPEG through
// libjpeg, every other kind through stb_image (PNG, GIF's first frame, TGA, PSD, HDR,
// PIC). Every loader of the library and the paint program's open go through it.
#include <algorithm>
#include <cstdlib>

#include "error/error.hpp"
#include "image.hpp"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace vollo_image
{
namespace
{

const char *const too_large = "picture with a zero size, or too large for the memory available";
const char *const bmp_too_large = "BMP picture too large for the memory available";
const char *const cut_short = "BMP pixel data cut short";

const char *decode_bmp_bytes(const uint8_t *bytes, size_t size, bool keep_alpha, decoded_picture *out)
{
    bmp_layout layout;
    const char *reason = check_bmp_bytes(bytes, size, &layout);
    if (reason != nullptr)
        return reason;
    const size_t available = size_t(std::min<uint64_t>(size - layout.data_offset, layout.data_size));
    out->pixels = static_cast<uint32_t *>(malloc(size_t(layout.width) * layout.height * 4));
    if (out->pixels == nullptr)
        return bmp_too_large;
    out->width = layout.width;
    out->height = layout.height;
    return decode_bmp(bytes + layout.data_offset, available, &layout, out->pixels, keep_alpha);
}

const char *decode_stb(const uint8_t *bytes, size_t size, decoded_picture *out)
{
    int w = 0, h = 0, channels = 0;
    if (size > size_t(INT32_MAX))
        return too_large;
    stbi_uc *decoded = stbi_load_from_memory(bytes, int(size), &w, &h, &channels, 4);
    if (decoded == nullptr)
        return refusal(bytes, size);
    out->pixels = reinterpret_cast<uint32_t *>(decoded);  // from malloc: released with free
    out->width = uint32_t(w);
    out->height = uint32_t(h);
    return nullptr;
}

const char *decode_any(const uint8_t *bytes, size_t size, bool bmp_only, bool keep_alpha,
                       decoded_picture *out)
{
    if (size == 0)
        return "empty file";
    out->kind = kind_of(bytes, size);
    if (bmp_only || out->kind == VOLLO_KIND_BMP)
        return decode_bmp_bytes(bytes, size, keep_alpha, out);
    uint64_t claimed_width = 0, claimed_height = 0;
    if (claimed_size(bytes, size, &claimed_width, &claimed_height) &&
        (claimed_width * claimed_height == 0 || claimed_width * claimed_height > max_pixels))
        return too_large;
    const char *reason = out->kind == VOLLO_KIND_JPEG
                             ? decode_jpeg(bytes, size, &out->pixels, &out->width, &out->height)
                             : decode_stb(bytes, size, out);
    if (reason == nullptr)
        flatten_alpha(out->pixels, size_t(out->width) * out->height, false, keep_alpha);
    return reason;
}

}  // namespace

const char *check_bmp_bytes(const uint8_t *bytes, size_t size, bmp_layout *layout)
{
    const char *reason = parse_bmp(bytes, std::min(size, head_size), layout);
    if (reason != nullptr)
        return reason;
    // A file too short for its rows is refused before any memory is taken.
    const uint64_t needed = layout->coding == coding_plain ? layout->data_size : 2;
    return size < layout->data_offset + needed ? cut_short : nullptr;
}

const char *decode_bytes(const uint8_t *bytes, size_t size, bool bmp_only, bool keep_alpha,
                         decoded_picture *out)
{
    const char *reason = decode_any(bytes, size, bmp_only, keep_alpha, out);
    const uint64_t count = uint64_t(out->width) * out->height;
    if (reason == nullptr && (count == 0 || count > max_pixels))
        reason = too_large;
    if (reason != nullptr)
    {
        free(out->pixels);
        out->pixels = nullptr;
    }
    return reason;
}

}  // namespace vollo_image

uint32_t *vollo_decode_bytes(const uint8_t *bytes, uint64_t size, uint32_t *width, uint32_t *height,
                             vollo_picture_kind *kind)
{
    vollo_image::decoded_picture picture;
    const char *reason = (bytes == nullptr && size > 0) || width == nullptr || height == nullptr
                             ? "no bytes or no place for the size"
                         : size > SIZE_MAX ? vollo_image::too_large
                                           : vollo_image::decode_bytes(bytes, size_t(size), false, false, &picture);
    gl_vollo_load_error = reason;
    if (reason != nullptr)
    {
        vollo_fail("cannot decode the picture: %s", reason);
        return nullptr;
    }
    *width = picture.width;
    *height = picture.height;
    if (kind != nullptr)
        *kind = picture.kind;
    return picture.pixels;
}
