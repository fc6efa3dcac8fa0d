// The arrow, A: a line with a head at the release end (Shift: steps of 45
// degrees).
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

static void arrow_shape(const paint_state *state, paint_overlay *overlay, vollo_position from,
                        vollo_position to, bool shift)
{
    shape_arrow(overlay, from, shift ? shape_constrain(from, to, false) : to,
                shape_thickness(state), state->color, tool_limit(state));
}

static void arrow_icon(vollo_pixelarray *canvas, paint_rect cell)
{
    paint_overlay overlay;
    shape_arrow(&overlay, {cell.x0, cell.y1}, {cell.x1, cell.y0}, 3, PAINT_BLACK, cell);
    overlay_draw(&overlay, canvas);
}

extern const paint_tool_entry ARROW_TOOL = {
    TOOL_ARROW,       'A',
    "arrow",          "a line with a head at the release end (Shift: steps of 45 degrees)",
    PANEL_CELL(1, 0), arrow_icon,
    nullptr,          shape_cancel,
    shape_press,      shape_drag,
    shape_release,    shape_cancel,
    shape_key,        nullptr,
    shape_preview,    nullptr,
    arrow_shape,
};
