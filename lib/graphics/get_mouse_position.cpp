#include "vollo.h"

const vollo_position * vollo_get_mouse_position(void)
{
    return &gl_mouse;
}
