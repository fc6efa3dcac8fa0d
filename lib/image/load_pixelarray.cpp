#include "image.hpp"

vollo_pixelarray *vollo_load_pixelarray(const char *path)
{
    return vollo_image::load_file(path, false);
}
