// What follows the window: the dialogue, and never a changed drawing dropped silently.
#include <cstdio>
#include <string>

#include "journal.h"
#include "state.h"
#include "terminal.h"

int end_session(paint_state *state)
{
    // After a stop signal there is nobody to ask.
    const save_outcome outcome = stop_signal() != 0 ? SAVE_UNANSWERED : save_file(state);
    int status = 0;
    // Only the user's own "no" may drop a changed drawing.
    if ((outcome == SAVE_UNANSWERED || outcome == SAVE_UNCLEAR) &&
        state->changes != state->saved_changes)
        status = save_recovery(state) ? 0 : 1;
    // The journal stays for the next start only when the drawing is kept nowhere else.
    std::string not_synced;
    if (!journal_end(state->journal, status == 0, &not_synced))
        fprintf(stderr, "pixodraw: warning: the journal %s\n", not_synced.c_str());
    state->journal = nullptr;
    return stop_signal() != 0 ? 128 + stop_signal() : status;
}
