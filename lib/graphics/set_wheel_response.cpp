#include "vollo.h"

void vollo_set_wheel_response(vollo_wheel_response response)
{
    gl_callback.wheel_response = response;
}
