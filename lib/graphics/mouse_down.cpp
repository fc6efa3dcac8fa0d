#include "input_private.hpp"

bool vollo_mouse_down(int32_t button)
{
    return button >= 0 && button < VOLLO_MOUSE_BUTTON_COUNT && vollo_internal::held().buttons[button];
}
