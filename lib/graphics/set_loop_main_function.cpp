#include "vollo.h"

void vollo_set_loop_main_function(vollo_main_function function)
{
    gl_callback.loop_main_function = function;
}
