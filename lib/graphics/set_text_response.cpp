#include "vollo.h"

void vollo_set_text_response(vollo_text_response response)
{
    gl_callback.text_response = response;
}
