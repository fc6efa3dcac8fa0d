// The click chain: tool buttons and stamps. Tools are chosen when the left button goes
// down on their button; shapes are stamped when it comes up inside the drawing area, and
// along the way while it is held after going down there.
#include "paint.h"

static bool within(vollo_position p, int32_t x0, int32_t x1, int32_t y0, int32_t y1)
{
    return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1;
}

static bool left(int32_t button, vollo_event_state event, vollo_event_state wanted)
{
    return button == PAINT_LEFT_BUTTON && event == wanted;
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
    if (left(button, event, VOLLO_PRESSED) && within(position, 106, 210, 0, 120))
        size->tool = 2;
}

// Paint-pot cell: the fill.
static void click_fill_tool(vollo_position position, tool_state *size, vollo_event_state event,
                            int32_t button)
{
    if (left(button, event, VOLLO_PRESSED) && within(position, 216, 315, 0, 120))
        size->tool = 4;
}

// Eraser button.
void continue_click_size(vollo_position position, tool_state *size, vollo_event_state event,
                         int32_t button)
{
    if (left(button, event, VOLLO_PRESSED) && within(position, 645, 855, 0, 123))
        size->tool = 3;
}

void click_size(vollo_position position, vollo_event_state event, int32_t button,
                paint_state *state)
{
    // The settings of all the tools, kept for the whole run; moves reach them through
    // the state.
    static tool_state size;

    state->tools = &size;
    if (left(button, event, VOLLO_PRESSED) && within(position, 5, 105, 0, 120))
    {
        size.tool = 1;
        state->color = PAINT_BLACK;
    }
    continue_click_size1(position, &size, event, button);
    click_fill_tool(position, &size, event, button);
    continue_click_size(position, &size, event, button);
    // A press in the drawing area starts a stroke; the release stamps its end, or the
    // single stamp of a click, or fills.
    if (left(button, event, VOLLO_PRESSED))
        stroke_press(state, position);
    if (left(button, event, VOLLO_RELEASED))
        stroke_release(state, &size, position);
    click_min(position, event, button, state, &size);
}
