#include "error/records.hpp"
#include "image.hpp"

// Failures are recorded by the shared loader, with their remedy where there is one.
vollo_pixelarray *vollo_load_pixelarray_rgba(const char *path)
{
    vollo_pixelarray *array = vollo_image::load_file(path, false, true);
    if (array)
        vollo_track(array, "pixel array", "vollo_load_pixelarray_rgba", array->width, array->height);
    return array;
}
