#include "graphics.hpp"

namespace vollo_graphics
{

// The array goes up through its own staging texture, kept from call to call, so a
// picture updated every frame costs one upload and one draw.
bool copy_pixels_to_picture(vollo_picture *picture, const vollo_pixelarray *array)
{
    // The staging is a cache behind the array, not part of what the caller sees.
    vollo_pixelarray *source = const_cast<vollo_pixelarray *>(array);
    if (!stage_pixelarray(source, region{0, 0, array->width, array->height}))
        return false;
    pixelarray_staging *staging = staging_of(source);
    staging->sprite.setTexture(staging->texture, true);
    staging->sprite.setPosition(0.f, 0.f);
    sf::RenderTexture *target = static_cast<sf::RenderTexture *>(picture->render_target);
    target->draw(staging->sprite, sf::RenderStates(sf::BlendNone));
    target->display();
    return true;
}

}  // namespace vollo_graphics
