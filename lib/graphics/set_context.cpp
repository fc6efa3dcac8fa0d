#include "vollo.h"

// Replaces every response at once; a null context changes nothing.
void vollo_set_context(const vollo_context *context)
{
    if (!context)
        return;
    gl_callback.key_response = context->key_response;
    gl_callback.text_response = context->text_response;
    gl_callback.click_response = context->click_response;
    gl_callback.move_response = context->move_response;
    gl_callback.wheel_response = context->wheel_response;
    gl_callback.joy_connect_response = context->joy_connect_response;
    gl_callback.joy_button_response = context->joy_button_response;
    gl_callback.joy_axis_response = context->joy_axis_response;
    gl_callback.loop_main_function = context->loop_main_function;
    gl_callback.resize_response = context->resize_response;
    gl_callback.focus_response = context->focus_response;
    gl_callback.mouse_enter_response = context->mouse_enter_response;
}
