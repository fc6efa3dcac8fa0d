// Whether a picture file can be loaded, found out without a display: BMP files by their
// headers and length (the pixels are not decoded), other kinds by decoding them.
#include "error/error.hpp"
#include "image.hpp"

const char *vollo_check_picture(const char *path)
{
    vollo_image::picture_file file;
    const char *reason = vollo_image::open_picture(path, &file);
    if (reason == nullptr && vollo_image::is_bmp(file))
    {
        vollo_image::bmp_layout layout;
        reason = vollo_image::check_bmp(&file, &layout);
    }
    else if (reason == nullptr)
    {
        std::vector<uint8_t> bytes;
        std::vector<uint32_t> pixels;
        uint32_t width = 0, height = 0;
        reason = vollo_image::read_rest(&file, &bytes);
        if (reason == nullptr)
            reason = vollo_image::decode_other(bytes, &pixels, &width, &height);
    }
    gl_vollo_load_error = reason;
    if (reason && file.fd < 0)
        vollo_fail("cannot open '%s': %s", path ? path : "(no path)", reason);
    else if (reason)
        vollo_fail("cannot load '%s': %s", path, reason);
    return reason;
}
