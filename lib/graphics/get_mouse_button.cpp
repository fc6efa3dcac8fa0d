#include "vollo.h"

const uint8_t * vollo_get_mouse_button(void)
{
    return gl_button;
}
