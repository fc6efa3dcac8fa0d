// The square brush, B: its button in the band; stamps and strokes as they
// always were.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

static void choose_square(paint_state *state, bool again)
{
    (void)again;
    state->color = PAINT_BLACK;
}

static void press_square(paint_state *state, tool_point point)
{
    stroke_press(state, point.screen);
}

static void drag_square(paint_state *state, tool_point point)
{
    stroke_move(state, point.screen);
}

static void release_square(paint_state *state, tool_point point)
{
    stroke_release(state, &state->tools, point.screen);
}

extern const paint_tool_entry SQUARE_TOOL = {
    TOOL_SQUARE,
    'B',
    "square",
    "stamps or strokes a square of the size",
    PAINT_LAYOUT.square_brush.click,
    nullptr,
    choose_square,
    nullptr,
    press_square,
    drag_square,
    release_square,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};
