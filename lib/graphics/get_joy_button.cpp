#include "vollo.h"

const uint8_t * vollo_get_joy_button(void)
{
    return gl_joy_button;
}
