#include "image.hpp"

vollo_pixelarray *vollo_load_bmp(const char *path)
{
    return vollo_image::load_file(path, true);
}
