// A picture file decoded once into plain memory, without a display: BMP files through
// the library's own reader, JPEG through libjpeg, every other kind through stb_image
// (PNG, GIF's first frame, TGA, PSD, HDR, PIC).
#include <cstdlib>
#include <cstring>

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

namespace
{

const char *const too_large = "picture with a zero size, or too large for the memory available";

const char *decode_bmp_file(vollo_image::picture_file *file, uint32_t **pixels, uint32_t *width,
                            uint32_t *height)
{
    vollo_image::bmp_layout layout;
    std::vector<uint8_t> data;
    const char *reason;
    if ((reason = vollo_image::check_bmp(file, &layout)) != nullptr ||
        (reason = vollo_image::read_bmp_data(file, &layout, &data)) != nullptr)
        return reason;
    *pixels = static_cast<uint32_t *>(malloc(size_t(layout.width) * layout.height * 4));
    if (*pixels == nullptr)
        return too_large;
    if ((reason = vollo_image::decode_bmp(data.data(), data.size(), &layout, *pixels)) != nullptr)
    {
        free(*pixels);
        *pixels = nullptr;
        return reason;
    }
    *width = layout.width;
    *height = layout.height;
    return nullptr;
}

const char *decode_stb(const std::vector<uint8_t> &bytes, uint32_t **pixels, uint32_t *width,
                       uint32_t *height)
{
    int w = 0, h = 0, channels = 0;
    if (bytes.size() > size_t(INT32_MAX))
        return too_large;
    stbi_uc *decoded = stbi_load_from_memory(bytes.data(), int(bytes.size()), &w, &h, &channels, 4);
    if (decoded == nullptr)
        return vollo_image::refusal(bytes);
    *pixels = reinterpret_cast<uint32_t *>(decoded);  // from malloc: released with free
    *width = uint32_t(w);
    *height = uint32_t(h);
    return nullptr;
}

const char *decode_other_file(vollo_image::picture_file *file, uint32_t **pixels, uint32_t *width,
                              uint32_t *height)
{
    std::vector<uint8_t> bytes;
    uint64_t claimed_width = 0, claimed_height = 0;
    const char *reason = vollo_image::read_rest(file, &bytes);
    if (reason != nullptr)
        return reason;
    if (bytes.empty())
        return "empty file";
    if (vollo_image::claimed_size(bytes, &claimed_width, &claimed_height) &&
        (claimed_width * claimed_height == 0 ||
         claimed_width * claimed_height > vollo_image::max_pixels))
        return too_large;
    if (vollo_image::is_jpeg(bytes))
        return vollo_image::decode_jpeg(bytes, pixels, width, height);
    return decode_stb(bytes, pixels, width, height);
}

}  // namespace

uint32_t *vollo_decode_picture(const char *path, uint32_t *width, uint32_t *height)
{
    vollo_image::picture_file file;
    uint32_t *pixels = nullptr;
    uint32_t w = 0, h = 0;
    const char *reason = path == nullptr || width == nullptr || height == nullptr
                             ? "no path or no place for the size"
                             : vollo_image::open_picture(path, &file);
    if (reason == nullptr)
        reason = vollo_image::is_bmp(file) ? decode_bmp_file(&file, &pixels, &w, &h)
                                           : decode_other_file(&file, &pixels, &w, &h);
    if (reason == nullptr && (uint64_t(w) * h == 0 || uint64_t(w) * h > vollo_image::max_pixels))
    {
        free(pixels);
        pixels = nullptr;
        reason = too_large;
    }
    gl_vollo_load_error = reason;
    if (reason != nullptr)
    {
        vollo_fail("cannot decode the picture %s: %s", path != nullptr ? path : "(null)", reason);
        return nullptr;
    }
    vollo_image::flatten_alpha(pixels, size_t(w) * h, false);
    *width = w;
    *height = h;
    return pixels;
}
