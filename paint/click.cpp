// The click chain: tool buttons and stamps. Tools are chosen when the left button goes
// down on their button; shapes are stamped when it comes up inside the drawing area, and
// along the way while it is held after going down there.
#include "interface.h"
#include "state.h"

static bool left(int32_t button, vollo_event_state event, vollo_event_state wanted)
{
    return button == VOLLO_MOUSE_LEFT && event == wanted;
}

static bool pressed_on(const paint_control &control, vollo_position position,
                       vollo_event_state event, int32_t button)
{
    return left(button, event, VOLLO_PRESSED) && rect_contains(control.click, position);
}

void click_pos(vollo_position position, vollo_event_state event, int32_t button,
               paint_state *state)
{
    if (left(button, event, VOLLO_PRESSED))
        state->button_down = 1;
    if (left(button, event, VOLLO_RELEASED))
        state->button_down = 0;
    click_size(position, event, button, state);
}

// Circle button.
void continue_click_size1(vollo_position position, tool_state *size, vollo_event_state event,
                          int32_t button)
{
    if (pressed_on(PAINT_LAYOUT.circle, position, event, button))
        size->tool = TOOL_CIRCLE;
}

// Paint-pot cell: the fill.
static void click_fill_tool(vollo_position position, tool_state *size, vollo_event_state event,
                            int32_t button)
{
    if (pressed_on(PAINT_LAYOUT.fill, position, event, button))
        size->tool = TOOL_FILL;
}

// Eraser button.
void continue_click_size(vollo_position position, tool_state *size, vollo_event_state event,
                         int32_t button)
{
    if (pressed_on(PAINT_LAYOUT.eraser, position, event, button))
        size->tool = TOOL_ERASER;
}

void click_size(vollo_position position, vollo_event_state event, int32_t button,
                paint_state *state)
{
    tool_state *size = &state->tools;

    if (pressed_on(PAINT_LAYOUT.square_brush, position, event, button))
    {
        size->tool = TOOL_SQUARE;
        state->color = PAINT_BLACK;
    }
    continue_click_size1(position, size, event, button);
    click_fill_tool(position, size, event, button);
    continue_click_size(position, size, event, button);
    // A press in the drawing area starts a stroke; the release stamps its end, or the
    // single stamp of a click, or fills.
    if (left(button, event, VOLLO_PRESSED))
        stroke_press(state, position);
    if (left(button, event, VOLLO_RELEASED))
        stroke_release(state, size, position);
    click_min(position, event, button, state, size);
}
