#include "vollo.h"

void vollo_set_joy_connect_response(vollo_joy_connect_response response)
{
    gl_callback.joy_connect_response = response;
}
