#include <cstdlib>

#include "adopted.hpp"
#include "error/records.hpp"
#include "graphics.hpp"

// Windows are closed with vollo_stop; any record that is neither a picture nor a
// pixel array is left alone.
void vollo_delete_clipable(vollo_clipable *clipable)
{
    if (!clipable)
        return;
    vollo_untrack(clipable);
    if (clipable->type == VOLLO_PICTURE)
    {
        vollo_picture *picture = static_cast<vollo_picture *>(clipable);
        delete static_cast<sf::RenderTexture *>(picture->render_target);
        delete &vollo_graphics::sprite_of(picture);
        delete picture;
    }
    else if (clipable->type == VOLLO_PIXELARRAY)
    {
        vollo_pixelarray *array = static_cast<vollo_pixelarray *>(clipable);
        if (vollo_graphics::forget_adopted(array))
            std::free(array->pixels);  // adopted: from malloc
        else
            vollo_free(array->pixels);
        vollo_graphics::delete_staging(array);
        delete array;
    }
}
