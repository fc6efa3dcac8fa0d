#include "vollo.h"

void vollo_set_focus_response(vollo_focus_response response)
{
    gl_callback.focus_response = response;
}
