// The rectangle, R: drag from corner to corner (Shift: a square); R again:
// outline or filled.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

static void rectangle_shape(const paint_state *state, paint_overlay *overlay, vollo_position from,
                            vollo_position to, bool shift)
{
    shape_rectangle(overlay, from, shift ? shape_constrain(from, to, true) : to,
                    shape_thickness(state), state->run.filled_rectangle != 0, state->color,
                    tool_limit(state));
}

static void rectangle_icon(vollo_pixelarray *canvas, paint_rect cell)
{
    paint_overlay overlay;
    shape_rectangle(&overlay, {cell.x0, cell.y0 + 8}, {cell.x1, cell.y1 - 8}, 3, false, PAINT_BLACK,
                    cell);
    overlay_draw(&overlay, canvas);
}

static void choose_rectangle(paint_state *state, bool again)
{
    if (again)
        state->run.filled_rectangle = !state->run.filled_rectangle;
}

static const char *rectangle_label(const paint_state *state)
{
    return state->run.filled_rectangle ? "filled rectangle" : "outline rectangle";
}

extern const paint_tool_entry RECTANGLE_TOOL = {
    TOOL_RECTANGLE,   'R',
    "rectangle",      "drag from corner to corner (Shift: a square); R again: outline or filled",
    PANEL_CELL(0, 1), rectangle_icon,
    choose_rectangle, shape_cancel,
    shape_press,      shape_drag,
    shape_release,    shape_cancel,
    shape_key,        nullptr,
    shape_preview,    rectangle_label,
    rectangle_shape,
};
