#include "error/error.hpp"
#include "error/records.hpp"
#include "graphics.hpp"

vollo_picture *vollo_new_picture_from_pixelarray(const vollo_pixelarray *array)
{
    if (!array || array->type != VOLLO_PIXELARRAY || !array->pixels)
    {
        vollo_fail("cannot make a picture from a pixel array: %s", array ? "not a pixel array" : "no pixel array given");
        return nullptr;
    }
    vollo_picture *picture = vollo_graphics::new_picture_record(array->width, array->height);
    if (!picture)
        return nullptr;
    sf::RenderTexture *target = static_cast<sf::RenderTexture *>(picture->render_target);
    target->setSmooth(true);
    if (!vollo_graphics::copy_pixels_to_picture(picture, array))
    {
        vollo_delete_clipable(picture);
        return nullptr;
    }
    vollo_graphics::attach_texture(picture);
    vollo_track(picture, "picture", "vollo_new_picture_from_pixelarray", picture->width, picture->height);
    return picture;
}
