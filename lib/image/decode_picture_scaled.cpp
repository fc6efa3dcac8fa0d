// A picture made smaller to fit while it is read: JPEG files through libjpeg's reduced
// decoding, read from the file as it goes, and then a box filter; every other kind
// decoded whole and then box-filtered.
#include <cstdio>
#include <cstdlib>

#include "error/error.hpp"
#include "jpeg_scaled.hpp"

namespace
{

bool starts_as_jpeg(FILE *file)
{
    uint8_t magic[3] = {0, 0, 0};
    const size_t got = std::fread(magic, 1, 3, file);
    std::rewind(file);
    return vollo_image::kind_of(magic, got) == VOLLO_KIND_JPEG;
}

// The JPEG at `path` decoded at a reduced size; null (vollo_error set) when it cannot be.
uint32_t *reduced_jpeg(const char *path, FILE *file, uint32_t max_width, uint32_t max_height,
                       vollo_image::jpeg_reduced *out)
{
    const char *reason = vollo_image::decode_jpeg_reduced(vollo_image::jpeg_source{nullptr, 0, file}, max_width,
                                                          max_height, out);
    gl_vollo_load_error = reason;
    if (reason)
        vollo_fail("cannot decode the picture %s: %s", path, reason);
    return out->pixels;
}

// Pixels of any kind, decoded whole; their fitting size in out.
uint32_t *whole_picture(const char *path, uint32_t max_width, uint32_t max_height, vollo_image::jpeg_reduced *out)
{
    out->pixels = vollo_decode_picture(path, &out->width, &out->height);
    vollo_image::fit_size(out->width, out->height, max_width, max_height, &out->fit_width, &out->fit_height);
    return out->pixels;
}

}  // namespace

uint32_t *vollo_decode_picture_scaled(const char *path, uint32_t max_width, uint32_t max_height, uint32_t *width,
                                      uint32_t *height)
{
    if (!path || !width || !height || max_width == 0 || max_height == 0)
    {
        vollo_fail("cannot decode the picture %s: no path, no place for the size, or a bound of 0",
                   path ? path : "(null)");
        return nullptr;
    }
    vollo_image::jpeg_reduced got;
    FILE *file = std::fopen(path, "rb");
    const bool jpeg = file && starts_as_jpeg(file);
    uint32_t *pixels = jpeg ? reduced_jpeg(path, file, max_width, max_height, &got)
                            : whole_picture(path, max_width, max_height, &got);
    if (file)
        std::fclose(file);
    if (!pixels)
        return nullptr;
    if (!vollo_image::fit_reduced(&got))
    {
        vollo_fail("cannot decode the picture %s: out of memory for its %u x %u copy", path, got.fit_width,
                   got.fit_height);
        return nullptr;
    }
    *width = got.fit_width;
    *height = got.fit_height;
    return got.pixels;
}
