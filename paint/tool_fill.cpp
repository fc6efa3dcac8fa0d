// The fill, F: the paint pot in the band; fills the region around the click,
// the size being its tolerance.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

static void press_fill(paint_state *state, tool_point point)
{
    stroke_press(state, point.screen);
}

static void release_fill(paint_state *state, tool_point point)
{
    stroke_release(state, &state->tools, point.screen);
}

extern const paint_tool_entry FILL_TOOL = {
    TOOL_FILL,
    'F',
    "fill",
    "fills the region around the click (the size is its tolerance)",
    PAINT_LAYOUT.fill.click,
    nullptr,
    nullptr,
    nullptr,
    press_fill,
    nullptr,
    release_fill,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};
