// The eraser, X: its button in the band; stamps and strokes as they always did.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

static void press_eraser(paint_state *state, tool_point point)
{
    stroke_press(state, point.screen);
}

static void drag_eraser(paint_state *state, tool_point point)
{
    stroke_move(state, point.screen);
}

static void release_eraser(paint_state *state, tool_point point)
{
    stroke_release(state, &state->tools, point.screen);
}

extern const paint_tool_entry ERASER_TOOL = {
    TOOL_ERASER,
    'X',
    "eraser",
    "paints white squares of the size",
    PAINT_LAYOUT.eraser.click,
    nullptr,
    nullptr,
    nullptr,
    press_eraser,
    drag_eraser,
    release_eraser,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};
