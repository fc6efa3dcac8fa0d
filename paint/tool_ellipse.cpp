// The ellipse, E: drag the box around it (Shift: a circle); E again: outline or
// filled.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

static void ellipse_shape(const paint_state *state, paint_overlay *overlay, vollo_position from,
                          vollo_position to, bool shift)
{
    shape_ellipse(overlay, from, shift ? shape_constrain(from, to, true) : to,
                  shape_thickness(state), state->run.filled_ellipse != 0, state->color,
                  tool_limit(state));
}

static void ellipse_icon(vollo_pixelarray *canvas, paint_rect cell)
{
    paint_overlay overlay;
    shape_ellipse(&overlay, {cell.x0, cell.y0 + 8}, {cell.x1, cell.y1 - 8}, 3, false, PAINT_BLACK,
                  cell);
    overlay_draw(&overlay, canvas);
}

static void choose_ellipse(paint_state *state, bool again)
{
    if (again)
        state->run.filled_ellipse = !state->run.filled_ellipse;
}

static const char *ellipse_label(const paint_state *state)
{
    return state->run.filled_ellipse ? "filled ellipse" : "outline ellipse";
}

extern const paint_tool_entry ELLIPSE_TOOL = {
    TOOL_ELLIPSE,     'E',
    "ellipse",        "drag the box around it (Shift: a circle); E again: outline or filled",
    PANEL_CELL(1, 1), ellipse_icon,
    choose_ellipse,   shape_cancel,
    shape_press,      shape_drag,
    shape_release,    shape_cancel,
    shape_key,        nullptr,
    shape_preview,    ellipse_label,
    ellipse_shape,
};
