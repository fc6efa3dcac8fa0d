#include "vollo.h"

const float * vollo_get_joy_axis(void)
{
    return gl_joy_axis;
}
