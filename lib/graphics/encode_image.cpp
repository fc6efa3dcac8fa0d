// Image encoders over stb_image_write, compiled into the library with internal
// linkage so that they never meet another copy in the program.
#include <cstring>
#include <new>
#include <string>

#include "graphics.hpp"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace
{
struct sink
{
    std::string *bytes;
    bool failed;
};

// Appends what the encoder hands over; running out of memory marks the result bad
// instead of throwing through the encoder's C code.
void append(void *context, void *data, int size)
{
    sink &out = *static_cast<sink *>(context);
    if (out.failed || size < 0)
        return;
    try
    {
        out.bytes->append(static_cast<const char *>(data), static_cast<size_t>(size));
    }
    catch (const std::exception &)
    {
        out.failed = true;
    }
}

// `text` with its ASCII capitals made small.
std::string lower_case(const std::string &text)
{
    std::string lower = text;
    for (char &byte : lower)
        if (byte >= 'A' && byte <= 'Z')
            byte = static_cast<char>(byte - 'A' + 'a');
    return lower;
}
}  // namespace

namespace vollo_graphics
{

image_format format_of(const std::string &path)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return image_format::none;
    const std::string extension = lower_case(path.substr(dot + 1));
    if (extension == "png")
        return image_format::png;
    if (extension == "bmp")
        return image_format::bmp;
    if (extension == "tga")
        return image_format::tga;
    if (extension == "jpg" || extension == "jpeg")
        return image_format::jpeg;
    return image_format::none;
}

bool encode_image(const uint8_t *rgba, uint32_t width, uint32_t height, image_format format, std::string &bytes)
{
    // The encoders count bytes in int.
    if (width == 0 || height == 0 || uint64_t(width) * height * 4 > uint64_t(INT32_MAX))
        return false;
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    sink out = {&bytes, false};
    int written = 0;
    switch (format)
    {
    case image_format::png:
        written = stbi_write_png_to_func(append, &out, w, h, 4, rgba, w * 4);
        break;
    case image_format::bmp:
        written = stbi_write_bmp_to_func(append, &out, w, h, 4, rgba);
        break;
    case image_format::tga:
        written = stbi_write_tga_to_func(append, &out, w, h, 4, rgba);
        break;
    case image_format::jpeg:
        written = stbi_write_jpg_to_func(append, &out, w, h, 4, rgba, 95);
        break;
    case image_format::none:
        return false;
    }
    return written != 0 && !out.failed && !bytes.empty();
}

}  // namespace vollo_graphics
