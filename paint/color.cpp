// Palette pick: the colour is read from the canvas itself, so it is whatever is shown
// under the pointer, alpha included.
#include "interface.h"
#include "state.h"

void click_win_col(vollo_position position, vollo_event_state event, int32_t button,
                   paint_state *state)
{
    const vollo_pixelarray *canvas = state->canvas;

    if (button != VOLLO_MOUSE_LEFT || event != VOLLO_PRESSED)
        return;
    if (!rect_contains(PAINT_LAYOUT.palette.click, position))
        return;
    // A smaller loaded canvas may not reach the palette region: nothing to pick there.
    if (canvas == nullptr || position.x >= static_cast<int64_t>(canvas->width) ||
        position.y >= static_cast<int64_t>(canvas->height))
        return;
    state->color = puxcolor(state->canvas, position);
}
