// Drawing actions as the user sees them: one stamp, one whole stroke or one fill each,
// undone with Ctrl+Z and redone with Ctrl+Y or Ctrl+Shift+Z.
#include "paint.h"

void finish_action(paint_state *state)
{
    if (!history_commit(&state->history, state->canvas))
        return;
    state->changes++;
    journal_action(state);
    request_present(state, 1);
}

bool history_key(paint_state *state, vollo_event_state event, int32_t key)
{
    const uint8_t *keys = vollo_get_keyboard();
    if (event != VOLLO_PRESSED || (key != PAINT_KEY_Z && key != PAINT_KEY_Y))
        return false;
    if (!keys[PAINT_KEY_LCONTROL] && !keys[PAINT_KEY_RCONTROL])
        return false;
    const bool shift = keys[PAINT_KEY_LSHIFT] || keys[PAINT_KEY_RSHIFT];
    // A stroke under way ends here: what it painted becomes an action of its own, and the
    // next move starts a new one from the pointer.
    finish_action(state);
    state->stroke.stamped = 0;
    const bool changed = key == PAINT_KEY_Z && !shift
                             ? history_undo(&state->history, state->canvas)
                             : history_redo(&state->history, state->canvas);
    if (changed)
    {
        state->changes++;
        journal_undo_redo(state);
        request_present(state, 1);
    }
    return changed;
}
