#include "vollo.h"

void vollo_set_click_response(vollo_click_response response)
{
    gl_callback.click_response = response;
}
