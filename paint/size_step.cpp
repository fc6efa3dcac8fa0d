// The size by one step of 5 either way, as a click of the plus or minus button
// does, size bar included: for the `[` and `]` keys and the wheel over the
// buttons.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

void size_step(paint_state *state, int32_t direction)
{
    const paint_rect button = direction > 0 ? PAINT_LAYOUT.plus.click : PAINT_LAYOUT.minus.click;
    const vollo_position on = {button.x0, button.y0};
    const tool_state before = state->tools;
    click_min(on, VOLLO_RELEASED, VOLLO_MOUSE_LEFT, state, &state->tools);
    if (before.width != state->tools.width)
        draw_indicator(state);
    request_present(state, 1);
}
