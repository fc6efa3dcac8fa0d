// The tool panel on the grey strip left of the drawing area: one white cell per
// tool of the table that has an icon, its key letter in the corner, the current
// tool's cell framed thickly. Like the indicator it is no drawing action: the
// history lets go of its pixels and the journal keeps them.
#include <algorithm>

#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

#define PANEL_MARK 3 // frame of the current tool's cell, in pixels

static void frame_rect(vollo_pixelarray *canvas, paint_rect r, int32_t thickness, uint32_t color)
{
    pux_rectangle(canvas, r.x0, r.y0, r.x1, r.y0 + thickness - 1, color);
    pux_rectangle(canvas, r.x0, r.y1 - thickness + 1, r.x1, r.y1, color);
    pux_rectangle(canvas, r.x0, r.y0, r.x0 + thickness - 1, r.y1, color);
    pux_rectangle(canvas, r.x1 - thickness + 1, r.y0, r.x1, r.y1, color);
}

void draw_tool_panel(paint_state *state)
{
    vollo_pixelarray *canvas = state->canvas;
    if (canvas == nullptr || canvas->pixels == nullptr)
        return;
    paint_rect drawn = PAINT_NO_RECT;
    for (size_t i = 0; i < PAINT_TOOL_COUNT; i++)
    {
        const paint_tool_entry *entry = PAINT_TOOL_TABLE[i];
        if (entry->icon == nullptr)
            continue;
        const paint_rect c = entry->cell;
        pux_rectangle(canvas, c.x0, c.y0, c.x1, c.y1, PAINT_WHITE);
        frame_rect(canvas, c, entry->tool == state->tools.tool ? PANEL_MARK : 1, PAINT_BLACK);
        const char letter[2] = {entry->letter, '\0'};
        vollo_draw_text(canvas, letter, vollo_position{c.x0 + 6, c.y0 + 6}, 2, PAINT_BLACK);
        entry->icon(canvas, paint_rect{c.x0 + 24, c.y0 + 14, c.x1 - 14, c.y1 - 12});
        drawn = drawn.x0 > drawn.x1
                    ? c
                    : paint_rect{std::min(drawn.x0, c.x0), std::min(drawn.y0, c.y0),
                                 std::max(drawn.x1, c.x1), std::max(drawn.y1, c.y1)};
    }
    if (state->document == nullptr && drawn.x0 <= drawn.x1)
    {
        history_forget(&state->history, drawn);
        journal_pixels(state, drawn);
    }
}
