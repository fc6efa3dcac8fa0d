#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "input_private.hpp"
#include "window_private.hpp"

namespace vollo_internal
{
namespace
{

// The number held in an SFML enumeration field, read as its underlying integer:
// an event may carry a value the enumeration does not list, and such a value
// must be range-checked, not trusted.
template <typename Enumeration>
int32_t number_in(const Enumeration &field)
{
    std::underlying_type_t<Enumeration> value;
    std::memcpy(&value, &field, sizeof value);
    return static_cast<int32_t>(value);
}

vollo_event_state state_of(bool pressed)
{
    return pressed ? VOLLO_PRESSED : VOLLO_RELEASED;
}

// The wheel delta truncated toward zero; values no 32-bit integer holds saturate.
int32_t whole_delta(float delta)
{
    if (std::isnan(delta))
        return 0;
    if (delta >= 2147483647.0f)
        return INT32_MAX;
    if (delta <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<int32_t>(delta);
}

vollo_response key(const sf::Event::KeyEvent &key, bool pressed, void *data)
{
    const int32_t code = number_in(key.code);
    note_key(code, pressed);
    if (!gl_callback.key_response)
        return VOLLO_CONTINUE;
    // -1 is a key SFML does not identify; it and any code beyond the table
    // reach the response without touching the keyboard state.
    if (code >= 0 && code < VOLLO_KEY_COUNT)
        gl_keyboard[code] = pressed ? 1 : 0;
    return gl_callback.key_response(state_of(pressed), code, data);
}

vollo_response joystick_connection(unsigned int joystick, bool connected, void *data)
{
    if (!gl_callback.joy_connect_response || joystick >= VOLLO_JOYSTICK_COUNT)
        return VOLLO_CONTINUE;
    vollo_joystick &record = gl_joystick[joystick];
    if (connected)
    {
        fill_joystick_slot(joystick);
    }
    else
    {
        // Null rather than dangling, so a later connection does not release it twice.
        std::free(record.name);
        record.name = nullptr;
        record.connected = 0;
    }
    return gl_callback.joy_connect_response(state_of(connected), static_cast<int32_t>(joystick),
                                            &record, data);
}

vollo_response joystick_button(const sf::Event::JoystickButtonEvent &button, bool pressed, void *data)
{
    if (!gl_callback.joy_connect_response || !gl_callback.joy_button_response)
        return VOLLO_CONTINUE;
    if (button.joystickId < VOLLO_JOYSTICK_COUNT && button.button < VOLLO_JOYSTICK_BUTTON_COUNT)
        gl_joy_button[button.joystickId * VOLLO_JOYSTICK_BUTTON_COUNT + button.button] = pressed ? 1 : 0;
    return gl_callback.joy_button_response(state_of(pressed), static_cast<int32_t>(button.joystickId),
                                           static_cast<int32_t>(button.button), data);
}

vollo_response joystick_move(const sf::Event::JoystickMoveEvent &move, void *data)
{
    if (!gl_callback.joy_connect_response || !gl_callback.joy_axis_response)
        return VOLLO_CONTINUE;
    const int32_t axis = number_in(move.axis);
    if (move.joystickId < VOLLO_JOYSTICK_COUNT && axis >= 0 && axis < VOLLO_JOYSTICK_AXIS_COUNT)
        gl_joy_axis[move.joystickId * VOLLO_JOYSTICK_AXIS_COUNT + axis] = move.position;
    return gl_callback.joy_axis_response(static_cast<int32_t>(move.joystickId), axis, move.position,
                                         data);
}

vollo_response mouse_button(const sf::Event::MouseButtonEvent &button, bool pressed, void *data)
{
    const int32_t number = number_in(button.button);
    note_button(number, pressed);
    if (!gl_callback.click_response)
        return VOLLO_CONTINUE;
    gl_mouse.x = button.x;
    gl_mouse.y = button.y;
    if (number >= 0 && number < VOLLO_MOUSE_BUTTON_COUNT)
        gl_button[number] = pressed ? 1 : 0;
    return gl_callback.click_response(state_of(pressed), number, data);
}

vollo_response mouse_wheel(const sf::Event::MouseWheelScrollEvent &wheel, void *data)
{
    gl_mouse.x = wheel.x;
    gl_mouse.y = wheel.y;
    if (!gl_callback.wheel_response)
        return VOLLO_CONTINUE;
    return gl_callback.wheel_response(number_in(wheel.wheel), whole_delta(wheel.delta), data);
}

vollo_response mouse_move(const sf::Event::MouseMoveEvent &move, void *data)
{
    // Measured from the last position any mouse event left, in 64 bits so that
    // no pair of positions overflows.
    const vollo_position relative = {
        static_cast<int32_t>(static_cast<int64_t>(move.x) - gl_mouse.x),
        static_cast<int32_t>(static_cast<int64_t>(move.y) - gl_mouse.y)};
    gl_mouse.x = move.x;
    gl_mouse.y = move.y;
    if (!gl_callback.move_response)
        return VOLLO_CONTINUE;
    return gl_callback.move_response(&relative, data);
}

// Keys and buttons held when the focus goes are released first: their releases would
// reach another window.
vollo_response focus(bool gained, void *data)
{
    if (!gained)
    {
        const vollo_response result = release_everything_held(data);
        if (result != VOLLO_CONTINUE)
            return result;
    }
    if (!gl_callback.focus_response)
        return VOLLO_CONTINUE;
    return gl_callback.focus_response(gained ? VOLLO_GAINED : VOLLO_LOST, data);
}

}  // namespace

vollo_response dispatch_event(const sf::Event &event, void *data)
{
    switch (event.type)
    {
    case sf::Event::Closed:
        return 1;
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased:
        return key(event.key, event.type == sf::Event::KeyPressed, data);
    case sf::Event::TextEntered:
        if (!gl_callback.text_response)
            return VOLLO_CONTINUE;
        return gl_callback.text_response(event.text.unicode, data);
    case sf::Event::JoystickConnected:
    case sf::Event::JoystickDisconnected:
        return joystick_connection(event.joystickConnect.joystickId,
                                   event.type == sf::Event::JoystickConnected, data);
    case sf::Event::JoystickButtonPressed:
    case sf::Event::JoystickButtonReleased:
        return joystick_button(event.joystickButton, event.type == sf::Event::JoystickButtonPressed, data);
    case sf::Event::JoystickMoved:
        return joystick_move(event.joystickMove, data);
    case sf::Event::MouseButtonPressed:
    case sf::Event::MouseButtonReleased:
        return mouse_button(event.mouseButton, event.type == sf::Event::MouseButtonPressed, data);
    case sf::Event::MouseWheelScrolled:
        return mouse_wheel(event.mouseWheelScroll, data);
    case sf::Event::MouseMoved:
        return mouse_move(event.mouseMove, data);
    case sf::Event::Resized:
        if (!gl_callback.resize_response)
            return VOLLO_CONTINUE;
        return gl_callback.resize_response(event.size.width, event.size.height, data);
    case sf::Event::GainedFocus:
    case sf::Event::LostFocus:
        return focus(event.type == sf::Event::GainedFocus, data);
    case sf::Event::MouseEntered:
    case sf::Event::MouseLeft:
        if (!gl_callback.mouse_enter_response)
            return VOLLO_CONTINUE;
        return gl_callback.mouse_enter_response(
            event.type == sf::Event::MouseEntered ? VOLLO_ENTERED : VOLLO_LEFT, data);
    default:
        return VOLLO_CONTINUE;
    }
}

}  // namespace vollo_internal
