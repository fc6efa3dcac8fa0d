// What follows a change of the interface that is no drawing action.
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

void repaint_interface(paint_state *state, paint_rect area)
{
    // A document's history and journal hold picture pixels, which the interface never
    // touches.
    if (state->document != nullptr)
        return;
    history_forget(&state->history, area);
    journal_pixels(state, area);
}
