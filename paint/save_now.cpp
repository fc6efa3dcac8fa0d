// Ctrl+S: the whole canvas saved at once, the program going on.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "paint.h"

bool save_now(paint_state *state)
{
    if (state == nullptr || state->canvas == nullptr)
        return false;
    if (state->document != nullptr)
    {
        // The file may now decode to other pixels than the picture held (JPEG), so the
        // journal starts again from the picture as it is.
        const bool saved = document_save(state);
        if (saved)
            journal_restart(state->journal, drawing_of(state));
        return saved;
    }
    // The full folder name, so that the message tells where the file is.
    char *folder = getcwd(nullptr, 0);
    char *path = save_bmp_numbered(state->canvas, folder != nullptr ? folder : ".", time(nullptr));
    if (path != nullptr)
    {
        fprintf(stderr, "pixodraw: saved %s\n", path);
        state->saved_changes = state->changes;
        // A crash from here on need not keep what was just saved.
        journal_restart(state->journal, state->canvas);
    }
    else
        fprintf(stderr, "pixodraw: the picture could not be saved in %s: %s\n",
                folder != nullptr ? folder : "the working directory", strerror(errno));
    free(folder);
    free(path);
    return path != nullptr;
}
