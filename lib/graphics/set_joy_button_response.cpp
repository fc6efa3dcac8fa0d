#include "vollo.h"

void vollo_set_joy_button_response(vollo_joy_button_response response)
{
    gl_callback.joy_button_response = response;
}
