#include "graphics.hpp"

// Where a blit goes when the caller gives no position.
static const vollo_position defaul = {0, 0};

void vollo_blit_shader(vollo_buffer *destination, vollo_clipable *source, const vollo_position *position,
                       const sf::Shader *shader)
{
    if (!destination || !source)
        return;
    if (!position)
        position = &defaul;
    // Only pictures and pixel arrays carry a clip rectangle and something to show.
    if (source->type == VOLLO_PICTURE)
        vollo_graphics::blit_picture(destination, static_cast<vollo_picture *>(source), position, shader);
    else if (source->type == VOLLO_PIXELARRAY)
        vollo_graphics::blit_pixelarray(destination, static_cast<vollo_pixelarray *>(source), position);
}
