// The size of the picture in a file, told by its headers alone: BMP files through the
// library's own header parser, other kinds by the size their header claims.
#include "error/error.hpp"
#include "image.hpp"

bool vollo_picture_size(const char *path, uint32_t *width, uint32_t *height)
{
    vollo_image::picture_file file;
    if (width == nullptr || height == nullptr)
    {
        vollo_fail("vollo_picture_size: no place given for the width or the height");
        return false;
    }
    if (const char *reason = vollo_image::open_picture(path, &file))
    {
        vollo_image::fail_reading(path, file.reach, reason);
        return false;
    }
    uint64_t columns = 0, rows = 0;
    if (vollo_image::kind_of(file.head.data(), file.head.size()) == VOLLO_KIND_BMP)
    {
        vollo_image::bmp_layout layout;
        if (const char *reason = vollo_image::parse_bmp(file.head.data(), file.head.size(), &layout))
        {
            vollo_fail("cannot read the size of '%s': %s", path, reason);
            return false;
        }
        columns = layout.width;
        rows = layout.height;
    }
    else
    {
        std::vector<uint8_t> bytes;
        if (vollo_image::read_rest(&file, &bytes) != nullptr ||
            !vollo_image::claimed_size(bytes.data(), bytes.size(), &columns, &rows))
        {
            vollo_fail("cannot read the size of '%s': its header does not tell it", path);
            return false;
        }
    }
    if (columns == 0 || rows == 0 || columns > UINT32_MAX || rows > UINT32_MAX)
    {
        vollo_fail("cannot read the size of '%s': its header claims %llu x %llu", path,
                   (unsigned long long)columns, (unsigned long long)rows);
        return false;
    }
    *width = uint32_t(columns);
    *height = uint32_t(rows);
    return true;
}
