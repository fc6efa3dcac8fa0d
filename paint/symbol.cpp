// Icons of the square brush and the circle, and the minus and plus buttons.
#include "paint.h"

void square(paint_state *state)
{
    pux_rectangle(state->canvas, 31, 40, 74, 79, PAINT_BLACK);
    // The circle icon takes the current colour.
    algo_circle(state, vollo_position{160, 60}, 30);
    bucket_bmp(state);
    minus(state);
}

void minus(paint_state *state)
{
    pux_rectangle(state->canvas, 926, 13, 994, 34, PAINT_BLACK);
    plus(state);
}

void plus(paint_state *state)
{
    pux_rectangle(state->canvas, 926, 77, 994, 94, PAINT_BLACK);
    pux_rectangle(state->canvas, 951, 55, 969, 114, PAINT_BLACK);
    erase(state);
}
