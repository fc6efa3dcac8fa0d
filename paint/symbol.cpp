// Icons of the square brush and the circle, and the minus and plus buttons.
#include "interface.h"
#include "state.h"

static void fill_rect(paint_state *state, paint_rect r)
{
    pux_rectangle(state->canvas, r.x0, r.y0, r.x1, r.y1, PAINT_BLACK);
}

void square(paint_state *state)
{
    const paint_rect disc = PAINT_LAYOUT.circle.drawn;

    fill_rect(state, PAINT_LAYOUT.square_brush.drawn);
    // The circle icon takes the current colour.
    algo_circle(state, vollo_position{(disc.x0 + disc.x1) / 2, (disc.y0 + disc.y1) / 2},
                (disc.x1 - disc.x0) / 2);
    bucket_bmp(state);
    minus(state);
}

void minus(paint_state *state)
{
    fill_rect(state, PAINT_LAYOUT.minus.drawn);
    plus(state);
}

void plus(paint_state *state)
{
    fill_rect(state, PAINT_LAYOUT.plus_bar);
    fill_rect(state, PAINT_LAYOUT.plus_upright);
    erase(state);
}
