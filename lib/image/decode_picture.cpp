// A picture file read once and decoded by the one decoder, outside the arena.
#include <cstdlib>
#include <vector>

#include "error/error.hpp"
#include "image.hpp"

uint32_t *vollo_decode_picture(const char *path, uint32_t *width, uint32_t *height)
{
    std::vector<uint8_t> bytes;
    vollo_image::decoded_picture picture;
    vollo_image::file_reach reach = vollo_image::file_read;
    const char *reason = path == nullptr || width == nullptr || height == nullptr
                             ? "no path or no place for the size"
                             : vollo_image::read_whole(path, &bytes, &reach);
    if (reason == nullptr)
        reason = vollo_image::decode_bytes(bytes.data(), bytes.size(), false, false, &picture);
    gl_vollo_load_error = reason;
    if (reason != nullptr && reach != vollo_image::file_read)
        vollo_image::fail_reading(path, reach, reason);
    else if (reason != nullptr)
        vollo_fail("cannot decode the picture %s: %s", path != nullptr ? path : "(null)", reason);
    if (reason != nullptr)
        return nullptr;
    *width = picture.width;
    *height = picture.height;
    return picture.pixels;
}
