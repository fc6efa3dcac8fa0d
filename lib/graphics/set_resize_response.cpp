#include "vollo.h"

void vollo_set_resize_response(vollo_resize_response response)
{
    gl_callback.resize_response = response;
}
