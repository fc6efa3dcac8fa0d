// The filled disc of the circle tool and of the circle icon.
#include "paint.h"

// One midpoint circle. The test d <= 0 and the use of x before its decrease in the
// second branch fix which pixels the ring covers; the disc is the union of the rings.
static void midpoint_circle(paint_state *state, int32_t cx, int32_t cy, int32_t r)
{
    int32_t x = r;
    int32_t y = 0;
    int32_t d = 1 - r;

    while (y <= x)
    {
        draw_pixel(state->canvas, state->color, cx + x, cy + y);
        draw_pixel(state->canvas, state->color, cx + y, cy + x);
        draw_pixel(state->canvas, state->color, cx - x, cy + y);
        draw_pixel(state->canvas, state->color, cx - y, cy + x);
        draw_pixel(state->canvas, state->color, cx - x, cy - y);
        draw_pixel(state->canvas, state->color, cx - y, cy - x);
        draw_pixel(state->canvas, state->color, cx + x, cy - y);
        draw_pixel(state->canvas, state->color, cx + y, cy - x);
        y = y + 1;
        if (d <= 0)
            d = d + 2 * y + 1;
        else
        {
            d = d + 2 * (y - x) + 1;
            x = x - 1;
        }
    }
}

// Rings of radius r, r - 1, ..., 0; a negative radius draws nothing.
void algo_circle(paint_state *state, vollo_position centre, int32_t radius)
{
    if (state == nullptr)
        return;
    for (int32_t r = radius; r >= 0; r--)
        midpoint_circle(state, centre.x, centre.y, r);
}
