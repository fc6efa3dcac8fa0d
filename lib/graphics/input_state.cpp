#include "input_private.hpp"

namespace vollo_internal
{

held_input &held()
{
    static held_input state;
    return state;
}

void count_input_frame()
{
    ++held().frame;
}

void note_key(int32_t code, bool pressed)
{
    held_input &state = held();
    if (code < 0 || code >= VOLLO_KEY_COUNT)
        return;
    if (pressed && !state.keys[code])
        state.key_pressed_in[code] = state.frame;
    if (!pressed)
        state.key_released_in[code] = state.frame;
    state.keys[code] = pressed ? 1 : 0;
}

void note_button(int32_t button, bool pressed)
{
    if (button >= 0 && button < VOLLO_MOUSE_BUTTON_COUNT)
        held().buttons[button] = pressed ? 1 : 0;
}

// A key or button whose release another window received would otherwise stay held for
// good: shortcuts would then fire on plain keys.
vollo_response release_everything_held(void *data)
{
    held_input &state = held();
    vollo_response result = VOLLO_CONTINUE;
    for (int32_t key = 0; key < VOLLO_KEY_COUNT; ++key)
    {
        if (!state.keys[key] && !gl_keyboard[key])
            continue;
        note_key(key, false);
        const bool respond = gl_callback.key_response && result == VOLLO_CONTINUE;
        if (gl_callback.key_response)
            gl_keyboard[key] = 0;
        if (respond)
            result = gl_callback.key_response(VOLLO_RELEASED, key, data);
    }
    for (int32_t button = 0; button < VOLLO_MOUSE_BUTTON_COUNT; ++button)
    {
        if (!state.buttons[button] && !gl_button[button])
            continue;
        note_button(button, false);
        const bool respond = gl_callback.click_response && result == VOLLO_CONTINUE;
        if (gl_callback.click_response)
            gl_button[button] = 0;
        if (respond)
            result = gl_callback.click_response(VOLLO_RELEASED, button, data);
    }
    return result;
}

}  // namespace vollo_internal
