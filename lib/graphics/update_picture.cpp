#include "error/error.hpp"
#include "graphics.hpp"

bool vollo_update_picture(vollo_picture *picture, const vollo_pixelarray *array)
{
    if (!picture || picture->type != VOLLO_PICTURE || !picture->render_target || !array ||
        array->type != VOLLO_PIXELARRAY || !array->pixels)
    {
        vollo_fail("cannot update a picture: %s", !picture || picture->type != VOLLO_PICTURE || !picture->render_target
                                                      ? "no picture given"
                                                      : "no pixel array given");
        return false;
    }
    if (picture->width != array->width || picture->height != array->height)
    {
        vollo_fail("cannot update a %u x %u picture from a %u x %u pixel array: the sizes differ (make a new "
                   "picture with vollo_new_picture_from_pixelarray)",
                   picture->width, picture->height, array->width, array->height);
        return false;
    }
    return vollo_graphics::copy_pixels_to_picture(picture, array);
}
