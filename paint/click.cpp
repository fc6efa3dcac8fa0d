// The click chain: tool buttons and stamps. Tools are chosen when the left button goes
// down on their button; shapes are stamped when it comes up inside the drawing area.
#include "paint.h"

static bool within(vollo_position p, int32_t x0, int32_t x1, int32_t y0, int32_t y1)
{
    return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1;
}

static bool in_drawing_area(vollo_position p)
{
    return within(p, 210, 840, 200, 727);
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
    // The settings of all three tools, kept for the whole run.
    static tool_state size;
    const bool stamp = left(button, event, VOLLO_RELEASED) && in_drawing_area(position);

    if (left(button, event, VOLLO_PRESSED) && within(position, 5, 105, 0, 120))
    {
        size.tool = 1;
        state->color = PAINT_BLACK;
    }
    if (stamp && size.tool >= 1 && size.tool <= 3)
        state->changes++;
    if (stamp && size.tool == 1)
        puxsquare(state->canvas, state->color, position, &size);
    continue_click_size1(position, &size, event, button);
    if (stamp && size.tool == 2)
        algo_circle(state, position, size.radius);
    continue_click_size(position, &size, event, button);
    if (stamp && size.tool == 3)
        puxsquare(state->canvas, PAINT_WHITE, position, &size);
    click_min(position, event, button, state, &size);
}
