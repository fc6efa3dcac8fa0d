// The indicator: the tool band's empty cell shows the current tool by name, the current
// colour as a swatch and the size as a number. It is no drawing action, as the size bar
// is not: the undo history lets go of its pixels, and the journal keeps them.
#include <cstdio>

#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

#define INDICATOR_SCALE 2   // font pixels drawn as 2 x 2 blocks
#define NAME_TOP 6          // rows below the cell's top
#define SWATCH_TOP 36
#define SWATCH_BOTTOM 79
#define SWATCH_WIDTH 63     // outline included
#define SIZE_TOP 90

namespace
{

const char *tool_name(paint_tool tool)
{
    switch (tool)
    {
    case TOOL_SQUARE:
        return "square";
    case TOOL_CIRCLE:
        return "circle";
    case TOOL_ERASER:
        return "eraser";
    case TOOL_FILL:
        return "fill";
    default:
        return "no tool";
    }
}

// The text in black, centred across the cell, its top `top` rows below the cell's top.
void centred_text(vollo_pixelarray *canvas, paint_rect cell, const char *text, int32_t top)
{
    const vollo_size box = vollo_text_size(text, INDICATOR_SCALE);
    const int32_t left = cell.x0 + (cell.x1 - cell.x0 + 1 - box.width) / 2;
    vollo_draw_text(canvas, text, vollo_position{left, cell.y0 + top}, INDICATOR_SCALE, PAINT_BLACK);
}

}  // namespace

void draw_indicator(paint_state *state)
{
    vollo_pixelarray *canvas = state->canvas;
    const paint_rect cell = PAINT_LAYOUT.indicator.drawn;
    if (canvas == nullptr || canvas->pixels == nullptr)
        return;
    pux_rectangle(canvas, cell.x0, cell.y0, cell.x1, cell.y1, PAINT_WHITE);
    centred_text(canvas, cell, tool_name(state->tools.tool), NAME_TOP);
    // The swatch: the colour as it is, alpha included, inside a black outline.
    const int32_t left = cell.x0 + (cell.x1 - cell.x0 + 1 - SWATCH_WIDTH) / 2;
    const int32_t right = left + SWATCH_WIDTH - 1;
    pux_rectangle(canvas, left, cell.y0 + SWATCH_TOP, right, cell.y0 + SWATCH_BOTTOM, PAINT_BLACK);
    pux_rectangle(canvas, left + 1, cell.y0 + SWATCH_TOP + 1, right - 1, cell.y0 + SWATCH_BOTTOM - 1,
                  state->color);
    char size[32];
    std::snprintf(size, sizeof size, "size %d", static_cast<int>(state->tools.width));
    centred_text(canvas, cell, size, SIZE_TOP);
    // No action: the history lets go of the cell and the journal keeps its pixels. A
    // document's history and journal hold picture pixels, which the cell never touches.
    if (state->document == nullptr)
    {
        history_forget(&state->history, cell);
        journal_pixels(state, cell);
    }
}
