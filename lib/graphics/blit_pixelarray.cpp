// A pixel-array source: staged to the GPU and drawn without blending, or handed
// to the blit hook (or the built-in copy) when the destination is a pixel array.
#include "graphics.hpp"

namespace vollo_graphics
{

// Stages the visible part of the clip region and places the sprite so that clip
// pixel (clip_x, clip_y) lands at the position, even when the clip rectangle
// reaches outside the array. False when there is nothing to show.
static bool prepare_sprite(vollo_pixelarray *source, const vollo_position *position)
{
    region area = clip_inside(source);
    if (!stage_pixelarray(source, area))
        return false;
    source->sprite.setTexture(source->staging, true);
    source->sprite.setPosition(float(int64_t(position->x) + area.x - source->clip_x),
                               float(int64_t(position->y) + area.y - source->clip_y));
    return true;
}

void blit_pixelarray(vollo_buffer *destination, vollo_pixelarray *source, const vollo_position *position)
{
    if (destination->type == VOLLO_PIXELARRAY)
    {
        // Read at the moment of the call: a program may swap hooks at any time.
        if (auto hook = gl_vollo_my_blit)
        {
            // The hook may use the staged image, texture or sprite.
            prepare_sprite(source, position);
            hook(destination, source, position);
        }
        else
            pixelarray_blit(static_cast<vollo_pixelarray *>(destination), source, *position);
        return;
    }
    sf::RenderTarget *target = render_target_of(destination);
    if (!target || !prepare_sprite(source, position))
        return;
    // The pixels replace what is there, alpha included.
    target->draw(source->sprite, sf::RenderStates(sf::BlendNone));
}

}  // namespace vollo_graphics
