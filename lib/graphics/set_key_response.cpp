#include "vollo.h"

void vollo_set_key_response(vollo_key_response response)
{
    gl_callback.key_response = response;
}
