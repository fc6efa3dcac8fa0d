// The circle, C: its button in the band; stamps and strokes as they always did.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

static void press_circle(paint_state *state, tool_point point)
{
    stroke_press(state, point.screen);
}

static void drag_circle(paint_state *state, tool_point point)
{
    stroke_move(state, point.screen);
}

static void release_circle(paint_state *state, tool_point point)
{
    stroke_release(state, &state->tools, point.screen);
}

extern const paint_tool_entry CIRCLE_TOOL = {
    TOOL_CIRCLE,
    'C',
    "circle",
    "stamps or strokes a disc, the size its radius",
    PAINT_LAYOUT.circle.click,
    nullptr,
    nullptr,
    nullptr,
    press_circle,
    drag_circle,
    release_circle,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};
