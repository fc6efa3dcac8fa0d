// Drawing actions as the user sees them: one stamp, one whole stroke or one fill each,
// undone with Ctrl+Z and redone with Ctrl+Y or Ctrl+Shift+Z.
#include "document.h"
#include "history.h"
#include "interface.h"
#include "journal.h"
#include "state.h"

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
    if (event != VOLLO_PRESSED || (key != VOLLO_KEY_Z && key != VOLLO_KEY_Y))
        return false;
    if (!keys[VOLLO_KEY_LEFT_CONTROL] && !keys[VOLLO_KEY_RIGHT_CONTROL])
        return false;
    const bool shift = keys[VOLLO_KEY_LEFT_SHIFT] || keys[VOLLO_KEY_RIGHT_SHIFT];
    // A stroke under way ends here: what it painted becomes an action of its own, and the
    // next move starts a new one from the pointer.
    finish_action(state);
    state->stroke.stamped = 0;
    const bool undo = key == VOLLO_KEY_Z && !shift;
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
