// Whether a picture file can be loaded, found out without a display: BMP files by their
// headers and length (the pixels are not decoded), other kinds by decoding them.
#include <cstdlib>

#include "error/error.hpp"
#include "image.hpp"

const char *vollo_check_picture(const char *path)
{
    std::vector<uint8_t> bytes;
    vollo_image::file_reach reach = vollo_image::file_missing;
    const char *reason = vollo_image::read_whole(path, &bytes, &reach);
    if (reason == nullptr && vollo_image::kind_of(bytes.data(), bytes.size()) == VOLLO_KIND_BMP)
    {
        vollo_image::bmp_layout layout;
        reason = vollo_image::check_bmp_bytes(bytes.data(), bytes.size(), &layout);
        if (reason == nullptr && !vollo_image::fits_in_arena(uint64_t(layout.width) * layout.height))
            reason = "BMP picture too large for the memory available";
    }
    else if (reason == nullptr)
    {
        vollo_image::decoded_picture picture;
        reason = vollo_image::decode_bytes(bytes.data(), bytes.size(), false, false, &picture);
        if (reason == nullptr && !vollo_image::fits_in_arena(uint64_t(picture.width) * picture.height))
            reason = "picture with a zero size, or too large for the memory available";
        free(picture.pixels);
    }
    gl_vollo_load_error = reason;
    if (reason && reach != vollo_image::file_read)
        vollo_image::fail_reading(path, reach, reason);
    else if (reason)
        vollo_fail("cannot load '%s': %s", path, reason);
    return reason;
}
