#include "vollo.h"

void vollo_set_move_response(vollo_move_response response)
{
    gl_callback.move_response = response;
}
