// The eraser icon: a block seen in perspective, drawn as slanted parallelograms whose
// rows (or columns) keep their length and shift by one pixel per step.
#include "interface.h"
#include "state.h"

// Top face.
void erase(paint_state *state)
{
    for (int32_t k = 0; k <= 22; k++)
        pux_rectangle(state->canvas, 750 - k, 26 + k, 799 - k, 26 + k, PAINT_BLACK);
    erase2(state);
}

// Front edge and front face.
void erase2(paint_state *state)
{
    for (int32_t k = 0; k <= 11; k++)
        pux_rectangle(state->canvas, 726 - k, 51 + k, 774 - k, 51 + k, PAINT_GREY);
    pux_rectangle(state->canvas, 714, 65, 762, 94, PAINT_GREY);
    erase3(state);
}

// Right face and right edge.
void erase3(paint_state *state)
{
    for (int32_t k = 0; k <= 21; k++)
        pux_rectangle(state->canvas, 781 + k, 49 - k, 781 + k, 77 - k, PAINT_BLACK);
    for (int32_t k = 0; k <= 11; k++)
        pux_rectangle(state->canvas, 767 + k, 63 - k, 767 + k, 91 - k, PAINT_GREY);
    exit_win(state);
}
