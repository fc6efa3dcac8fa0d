// Pictures encoded in memory, for callers that write them their own way (a new file
// that must not replace another, a part of a larger picture).
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "error/error.hpp"
#include "graphics.hpp"

namespace
{
// The pixels as the encoders take them: rows of width pixels with no gap between them.
// Colours are stored red byte first, so each pixel is already R, G, B, A in memory.
const uint8_t *packed_rows(const uint32_t *pixels, uint32_t width, uint32_t height, uint32_t stride,
                           std::vector<uint32_t> &room)
{
    if (stride == width)
        return reinterpret_cast<const uint8_t *>(pixels);
    room.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y)
        std::memcpy(&room[size_t(y) * width], pixels + size_t(y) * stride, size_t(width) * 4);
    return reinterpret_cast<const uint8_t *>(room.data());
}
}  // namespace

uint8_t *vollo_encode_pixels(const uint32_t *pixels, uint32_t width, uint32_t height, uint32_t stride,
                             const char *name, uint64_t *size)
{
    if (!pixels || !name || !size || width == 0 || height == 0 || stride < width)
    {
        vollo_fail("vollo_encode_pixels: %s", !pixels || !size ? "no pixels or no size given"
                                              : !name          ? "no file name given"
                                                               : "empty picture, or rows shorter than its width");
        return nullptr;
    }
    const vollo_graphics::image_format format = vollo_graphics::format_of(name);
    if (format == vollo_graphics::image_format::none)
    {
        vollo_fail("'%s': cannot write this format (use .png, .bmp, .tga or .jpg)", name);
        return nullptr;
    }
    try
    {
        std::vector<uint32_t> room;
        std::string bytes;
        if (!vollo_graphics::encode_image(packed_rows(pixels, width, height, stride, room), width, height,
                                          format, bytes))
        {
            vollo_fail("cannot encode '%s': the %u x %u picture is beyond the encoder (more than 2 GiB of "
                       "pixels) or memory ran out", name, width, height);
            return nullptr;
        }
        uint8_t *block = static_cast<uint8_t *>(std::malloc(bytes.size()));
        if (!block)
        {
            vollo_fail("cannot encode '%s': out of memory", name);
            return nullptr;
        }
        std::memcpy(block, bytes.data(), bytes.size());
        *size = bytes.size();
        return block;
    }
    catch (const std::exception &)
    {
        vollo_fail("cannot encode '%s': out of memory", name);
    }
    return nullptr;
}
