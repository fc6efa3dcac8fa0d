// Shows what every connected gamepad or joystick does: its name, its buttons
// (lit while held) and its axes (bars from -100 to 100).
//
// Shows: the joystick responses (the connect response is needed for button and
// axis events to be dispatched at all), the joystick records with their name,
// button count and axes, and the state arrays vollo_get_joy_button and
// vollo_get_joy_axis. Escape quits; --frames N ends it after N frames.
#include <cstdio>
#include <string>

#include "example_args.hpp"
#include "vollo.h"

namespace
{
const int kWidth = 520, kHeight = 300;
const char *const kAxisNames[VOLLO_JOYSTICK_AXIS_COUNT] = {"X", "Y", "Z", "R", "U", "V", "POV X", "POV Y"};

struct Tester
{
    vollo_window *window;
    vollo_joystick *pads[VOLLO_JOYSTICK_COUNT];  // the records of connected pads, else null
    std::string last_event;
    long frames_left;
};

vollo_response on_connect(vollo_event_state state, int32_t joystick, vollo_joystick *record, void *data)
{
    Tester &tester = *static_cast<Tester *>(data);
    tester.pads[joystick] = state == VOLLO_CONNECTED ? record : nullptr;
    tester.last_event = "PAD " + std::to_string(joystick) + (state == VOLLO_CONNECTED ? " CONNECTED" : " LEFT");
    return VOLLO_CONTINUE;
}

vollo_response on_button(vollo_event_state state, int32_t joystick, int32_t button, void *data)
{
    static_cast<Tester *>(data)->last_event = "PAD " + std::to_string(joystick) + " BUTTON " +
                                              std::to_string(button) + (state == VOLLO_PRESSED ? " DOWN" : " UP");
    return VOLLO_CONTINUE;
}

// Axis moves need no work here: the axis array already holds the new position.
vollo_response on_axis(int32_t, int32_t, float, void *)
{
    return VOLLO_CONTINUE;
}

vollo_response on_key(vollo_event_state state, int32_t key, void *)
{
    return state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE ? 0 : VOLLO_CONTINUE;
}

// One pad's panel: name, buttons in a row, one bar per axis it has.
void draw_pad(vollo_window *window, int index, const vollo_joystick &pad, int top)
{
    const std::string title = "PAD " + std::to_string(index) + ": " + (pad.name ? pad.name : "?");
    vollo_draw_text(window, title.c_str(), {10, top}, 1, VOLLO_WHITE);
    const uint8_t *buttons = vollo_get_joy_button() + index * VOLLO_JOYSTICK_BUTTON_COUNT;
    for (uint32_t b = 0; b < pad.nb_buttons && b < VOLLO_JOYSTICK_BUTTON_COUNT; ++b)
        vollo_set_circle(window, {18 + int(b) * 20, top + 26}, 7, buttons[b] ? VOLLO_GREEN : VOLLO_DARK_GRAY, true);
    const float *axes = vollo_get_joy_axis() + index * VOLLO_JOYSTICK_AXIS_COUNT;
    for (int a = 0, row = 0; a < VOLLO_JOYSTICK_AXIS_COUNT; ++a)
    {
        if (!(pad.axes >> a & 1))
            continue;
        const int y = top + 44 + row++ * 14, middle = 160 + 100;
        vollo_draw_text(window, kAxisNames[a], {10, y}, 1, VOLLO_LIGHT_GRAY);
        vollo_set_rectangle(window, {160, y}, 200, 10, VOLLO_DARK_GRAY, true);
        const int length = static_cast<int>(axes[a]);  // -100 .. 100
        vollo_set_rectangle(window, {length < 0 ? middle + length : middle, y}, length < 0 ? -length : length, 10,
                            VOLLO_ORANGE, true);
    }
}

vollo_response each_frame(void *data)
{
    Tester &tester = *static_cast<Tester *>(data);
    vollo_window *window = tester.window;
    vollo_fill(window, VOLLO_RGB(24, 24, 32));
    int top = 10, shown = 0;
    for (int i = 0; i < VOLLO_JOYSTICK_COUNT && top < kHeight - 40; ++i)
        if (tester.pads[i] != nullptr)
        {
            draw_pad(window, i, *tester.pads[i], top);
            top += 170;
            ++shown;
        }
    if (shown == 0)
        vollo_draw_text(window, "NO GAMEPAD CONNECTED:\nPLUG ONE IN, IT SHOWS UP HERE.", {10, 10}, 2, VOLLO_YELLOW);
    vollo_draw_text(window, tester.last_event.c_str(), {10, kHeight - 18}, 1, VOLLO_GRAY);
    const bool last = example_last_frame(tester.frames_left, window);
    vollo_display(window);
    return last ? 0 : VOLLO_CONTINUE;
}
}  // namespace

int main(int argc, char **argv)
{
    Tester tester = {};
    tester.frames_left = example_frames(argc, argv);
    tester.window = vollo_start(kWidth, kHeight, false, "vollo: gamepad tester");
    if (tester.window == nullptr)
    {
        std::fprintf(stderr, "gamepad_tester: %s\n", vollo_error());
        return 1;
    }
    vollo_set_joy_connect_response(on_connect);
    vollo_set_joy_button_response(on_button);
    vollo_set_joy_axis_response(on_axis);
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    const vollo_response result = vollo_loop(tester.window, 60, &tester);
    vollo_stop(tester.window);
    return result == 0 || result == 1 ? 0 : 1;
}
