#include "vollo.h"

void vollo_set_circle(vollo_buffer *buffer, vollo_position centre, int32_t radius, uint32_t color, bool filled)
{
    vollo_set_ellipse(buffer, centre, radius, radius, color, filled);
}
