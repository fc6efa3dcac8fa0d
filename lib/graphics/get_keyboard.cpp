#include "vollo.h"

const uint8_t * vollo_get_keyboard(void)
{
    return gl_keyboard;
}
