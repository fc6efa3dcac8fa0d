// The drawing alone, as PNG: a rectangle of pixels made opaque (the screen shows no
// alpha, and the interface grey has none), encoded in memory by libpng at zlib's fastest
// settings, then written as a new numbered file.
#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "bmp.h"
#include "rect.h"

namespace
{

void append(png_structp png, png_bytep data, png_size_t length)
{
    auto *bytes = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    try
    {
        bytes->insert(bytes->end(), data, data + length);
    }
    catch (const std::bad_alloc &)
    {
        png_error(png, "out of memory");  // back to the encoder's setjmp, never through libpng
    }
}

void flush_nothing(png_structp) {}

// Rows of `area` of the pixels as an RGB PNG (the alpha byte dropped: every pixel is
// opaque) in zlib's fastest level with runs only and no filter: about four times faster
// than the default strategy, for files a few per cent larger. False when memory runs out.
bool encode_png(const vollo_pixelarray *pixels, paint_rect area, std::vector<uint8_t> *out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, append, flush_nothing);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, png_uint_32(area.x1 - area.x0 + 1), png_uint_32(area.y1 - area.y0 + 1), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_set_filler(png, 0, PNG_FILLER_AFTER);  // the pixels' fourth byte is not written
    for (int32_t y = area.y0; y <= area.y1; y++)
        png_write_row(png, reinterpret_cast<png_const_bytep>(pixels->pixels + size_t(y) * pixels->width + area.x0));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

char *export_png_numbered(const vollo_pixelarray *pixels, paint_rect area, const char *folder,
                          time_t when)
{
    if (pixels == nullptr || pixels->pixels == nullptr)
    {
        errno = EINVAL;
        return nullptr;
    }
    area = rect_clip(area, pixels->width, pixels->height);
    if (rect_empty(area))
    {
        errno = EINVAL;
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (!encode_png(pixels, area, &bytes))
    {
        errno = ENOMEM;
        return nullptr;
    }
    return write_numbered(bytes.data(), bytes.size(), folder, when, ".png");
}
