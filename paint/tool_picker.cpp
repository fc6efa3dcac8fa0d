// The picker, I: a click takes the colour under the pointer (the picture's
// pixel on a document, the canvas pixel elsewhere), then the tool before it is
// chosen again.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

static void release_picker(paint_state *state, tool_point point)
{
    const vollo_pixelarray *picture =
        state->document != nullptr ? state->document->picture : nullptr;
    const bool on_picture = picture != nullptr && point.on_drawing &&
                            uint32_t(point.picture.x) < picture->width &&
                            uint32_t(point.picture.y) < picture->height;
    if (on_picture)
        state->color = picture->pixels[size_t(point.picture.y) * picture->width + point.picture.x];
    else if (uint32_t(point.screen.x) < state->canvas->width &&
             uint32_t(point.screen.y) < state->canvas->height)
        state->color = puxcolor(state->canvas, point.screen);
    const int32_t previous = state->run.previous;
    if (tool_entry(previous) != nullptr)
        tool_choose(state, previous);
    else
    {
        state->tools.tool = TOOL_NONE;
        draw_tool_panel(state);
        draw_indicator(state);
    }
}

static void icon_picker(vollo_pixelarray *canvas, paint_rect cell)
{
    paint_overlay overlay;
    const vollo_position tip = {cell.x0 + 6, cell.y1 - 6}, top = {cell.x1 - 14, cell.y0 + 14};
    shape_line(&overlay, tip, top, 5, PAINT_BLACK, cell);
    overlay_draw(&overlay, canvas);
    shape_ellipse(&overlay, {top.x - 8, top.y - 8}, {top.x + 10, top.y + 10}, 1, true, PAINT_BLACK,
                  cell);
    overlay_draw(&overlay, canvas);
}

extern const paint_tool_entry PICKER_TOOL = {
    TOOL_PICKER,      'I',
    "picker",         "a click takes the colour there, then back to the tool before",
    PANEL_CELL(1, 2), icon_picker,
    nullptr,          nullptr,
    nullptr,          nullptr,
    release_picker,   nullptr,
    nullptr,          nullptr,
    nullptr,          nullptr,
    nullptr,
};
