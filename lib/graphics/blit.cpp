#include "graphics.hpp"

void vollo_blit(vollo_buffer *destination, vollo_clipable *source, const vollo_position *position)
{
    vollo_blit_shader(destination, source, position, nullptr);
}
