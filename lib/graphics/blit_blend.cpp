#include "graphics.hpp"

// Where a blend goes when the caller gives no position.
static const vollo_position origin = {0, 0};

void vollo_blit_blend(vollo_buffer *destination, const vollo_pixelarray *source, const vollo_position *position)
{
    if (!destination || !source || source->type != VOLLO_PIXELARRAY)
        return;
    if (!position)
        position = &origin;
    if (destination->type == VOLLO_PIXELARRAY)
    {
        vollo_graphics::pixelarray_blend(static_cast<vollo_pixelarray *>(destination), source, *position);
        return;
    }
    sf::RenderTarget *target = vollo_graphics::render_target_of(destination);
    if (!target)
        return;
    // The staging is a cache behind the array, not part of what the caller sees.
    if (sf::Sprite *sprite = vollo_graphics::prepare_sprite(const_cast<vollo_pixelarray *>(source), position))
        target->draw(*sprite, sf::RenderStates::Default);  // SFML's alpha blending is the rule of vollo.h
}
