// Drawing actions as the user sees them: one stamp, one whole stroke or one fill each,
// undone with Ctrl+Z and redone with Ctrl+Y or Ctrl+Shift+Z.
#include "paint.h"

void finish_action(paint_state *state)
{
    if (!history_commit(&state->history, drawing_of(state)))
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
    const bool undo = key == PAINT_KEY_Z && !shift;
    const paint_history &history = state->history;
    const size_t step = history.steps.size() - history.undone - (undo ? 1 : 0);
    const paint_rect area = step < history.steps.size() ? history.steps[step].area : PAINT_NO_RECT;
    const bool changed = undo ? history_undo(&state->history, drawing_of(state))
                              : history_redo(&state->history, drawing_of(state));
    if (changed && history.steps[step].reshape)
    {
        const history_step &reshape = history.steps[step];
        if (undo)
            document_replace(state, reshape.code_before, reshape.width_before, reshape.height_before);
        else
            document_replace(state, reshape.code_after, reshape.width_after, reshape.height_after);
        state->changes++;
        return true;
    }
    if (changed)
    {
        document_touch(state, area);
        state->changes++;
        journal_undo_redo(state);
        request_present(state, 1);
    }
    return changed;
}
