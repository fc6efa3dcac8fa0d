#include "vollo.h"

void vollo_set_joy_axis_response(vollo_joy_axis_response response)
{
    gl_callback.joy_axis_response = response;
}
