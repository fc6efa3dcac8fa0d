// The size of the picture in a file, told by its headers alone: BMP files through the
// library's own header parser, other kinds by the size their header claims.
#include "image.hpp"

bool vollo_picture_size(const char *path, uint32_t *width, uint32_t *height)
{
    vollo_image::picture_file file;
    if (width == nullptr || height == nullptr || vollo_image::open_picture(path, &file) != nullptr)
        return false;
    uint64_t columns = 0, rows = 0;
    if (vollo_image::is_bmp(file))
    {
        vollo_image::bmp_layout layout;
        if (vollo_image::parse_bmp(file.head.data(), file.head.size(), &layout) != nullptr)
            return false;
        columns = layout.width;
        rows = layout.height;
    }
    else
    {
        std::vector<uint8_t> bytes;
        if (vollo_image::read_rest(&file, &bytes) != nullptr ||
            !vollo_image::claimed_size(bytes, &columns, &rows))
            return false;
    }
    if (columns == 0 || rows == 0 || columns > UINT32_MAX || rows > UINT32_MAX)
        return false;
    *width = uint32_t(columns);
    *height = uint32_t(rows);
    return true;
}
