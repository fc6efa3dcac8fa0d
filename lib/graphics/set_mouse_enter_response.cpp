#include "vollo.h"

void vollo_set_mouse_enter_response(vollo_mouse_enter_response response)
{
    gl_callback.mouse_enter_response = response;
}
