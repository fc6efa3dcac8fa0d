// The indicator: the tool band's empty cell shows the current tool by name, the current
// colour as a swatch and the size as a number. It is no drawing action, as the size bar
// is not: the undo history lets go of its pixels, and the journal keeps them.
#include <cstdio>

#include "interface.h"
#include "state.h"

#define INDICATOR_SCALE 2   // font pixels drawn as 2 x 2 blocks
#define NAME_TOP 6          // rows below the cell's top
#define SWATCH_TOP 36
#define SWATCH_BOTTOM 79
#define SWATCH_WIDTH 63     // outline included
#define SIZE_TOP 90

namespace
{

// The text in black, centred across the cell, its top `top` rows below the cell's top;
// at half the scale when it would not fit across the cell.
void centred_text(vollo_pixelarray *canvas, paint_rect cell, const char *text, int32_t top)
{
    int32_t scale = INDICATOR_SCALE;
    if (vollo_text_size(text, scale).width > cell.x1 - cell.x0 - 1)
    {
        scale = 1;
        top += 6;
    }
    const vollo_size box = vollo_text_size(text, scale);
    const int32_t left = cell.x0 + (cell.x1 - cell.x0 + 1 - box.width) / 2;
    vollo_draw_text(canvas, text, vollo_position{left, cell.y0 + top}, scale, PAINT_BLACK);
}

}  // namespace

paint_rect indicator_swatch(void)
{
    const paint_rect cell = PAINT_LAYOUT.indicator.drawn;
    const int32_t left = cell.x0 + (cell.x1 - cell.x0 + 1 - SWATCH_WIDTH) / 2;
    return paint_rect{left, cell.y0 + SWATCH_TOP, left + SWATCH_WIDTH - 1, cell.y0 + SWATCH_BOTTOM};
}

void draw_indicator(paint_state *state)
{
    vollo_pixelarray *canvas = state->canvas;
    const paint_rect cell = PAINT_LAYOUT.indicator.drawn;
    if (canvas == nullptr || canvas->pixels == nullptr)
        return;
    pux_rectangle(canvas, cell.x0, cell.y0, cell.x1, cell.y1, PAINT_WHITE);
    centred_text(canvas, cell, tool_label(state), NAME_TOP);
    // The swatch: the colour as it is, alpha included, inside a black outline; the open
    // colour field shows what is typed there instead.
    const paint_rect swatch = indicator_swatch();
    pux_rectangle(canvas, swatch.x0, swatch.y0, swatch.x1, swatch.y1, PAINT_BLACK);
    pux_rectangle(canvas, swatch.x0 + 1, swatch.y0 + 1, swatch.x1 - 1, swatch.y1 - 1,
                  state->run.field_open ? PAINT_WHITE : state->color);
    if (state->run.field_open)
        vollo_draw_text(canvas, (state->run.field + "_").c_str(),
                        vollo_position{swatch.x0 + 4, swatch.y0 + 16}, 1, PAINT_BLACK);
    char size[32];
    std::snprintf(size, sizeof size, state->tools.tool == TOOL_FILL ? "tolerance %d" : "size %d",
                  static_cast<int>(state->tools.width));
    centred_text(canvas, cell, size, SIZE_TOP);
    // No action: the history lets go of the cell and the journal keeps its pixels.
    repaint_interface(state, cell);
}
