// What follows the window: the dialogue, and never a changed drawing dropped silently.
#include "paint.h"

int end_session(paint_state *state)
{
    const save_outcome outcome = save_file(state);
    // Only the user's own "not yes" may drop a changed drawing.
    if (outcome != SAVE_UNANSWERED || state->changes == state->saved_changes)
        return 0;
    return save_recovery(state) ? 0 : 1;
}
