// A pixel-array source: staged to the GPU and drawn without blending, or handed
// to the blit hook (or the built-in copy) when the destination is a pixel array.
#include "graphics.hpp"

namespace vollo_graphics
{

sf::Sprite *prepare_sprite(vollo_pixelarray *source, const vollo_position *position)
{
    region area = clip_inside(source);
    if (!stage_pixelarray(source, area))
        return nullptr;
    pixelarray_staging *staging = staging_of(source);
    staging->sprite.setTexture(staging->texture, true);
    staging->sprite.setPosition(float(int64_t(position->x) + area.x - source->clip_x),
                                float(int64_t(position->y) + area.y - source->clip_y));
    return &staging->sprite;
}

void blit_pixelarray(vollo_buffer *destination, vollo_pixelarray *source, const vollo_position *position)
{
    if (destination->type == VOLLO_PIXELARRAY)
    {
        // Read at the moment of the call: a program may swap hooks at any time.
        // Nothing goes to the GPU on this path, so it needs no display.
        if (auto hook = gl_vollo_my_blit)
            hook(destination, source, position);
        else
            pixelarray_blit(static_cast<vollo_pixelarray *>(destination), source, *position);
        return;
    }
    sf::RenderTarget *target = render_target_of(destination);
    if (!target)
        return;
    if (sf::Sprite *sprite = prepare_sprite(source, position))
        // The pixels replace what is there, alpha included.
        target->draw(*sprite, sf::RenderStates(sf::BlendNone));
}

}  // namespace vollo_graphics
