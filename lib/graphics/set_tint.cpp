#include "graphics.hpp"

// The tint is the colour of the picture's sprite, which SFML multiplies into every
// texel at each draw; the copy onto a pixel array applies it the same way.
void vollo_set_tint(vollo_picture *picture, uint32_t color)
{
    if (picture && picture->type == VOLLO_PICTURE)
        vollo_graphics::sprite_of(picture).setColor(vollo_graphics::to_sf_color(color));
}
