#include "error/error.hpp"
#include "image.hpp"

vollo_pixelarray *vollo_load_pixelarray_rgba(const char *path)
{
    vollo_pixelarray *array = vollo_image::load_file(path, false, true);
    if (!array)
        vollo_fail("cannot load '%s': %s", path ? path : "(null)", gl_vollo_load_error);
    return array;
}
