#include "image.hpp"

const char *vollo_load_pixelarray_error(void)
{
    return gl_vollo_load_error;
}
