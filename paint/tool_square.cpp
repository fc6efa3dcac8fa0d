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

extern const paint_tool_entry SQUARE_TOOL = {
    TOOL_SQUARE,
    'B',
    "square",
    "stamps or strokes a square of the size",
    PAINT_LAYOUT.square_brush.click,
    nullptr,
    choose_square,
    nullptr,
    stroke_tool_press,
    stroke_tool_drag,
    stroke_tool_release,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};
