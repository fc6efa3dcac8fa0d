// Ctrl+S saves the whole canvas, Ctrl+E exports the drawing as PNG: at once, in the
// working directory, the program going on.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "bmp.h"
#include "document.h"
#include "journal.h"
#include "state.h"
#include "terminal.h"

// Says on standard error where the file went, or why it did not; releases path and folder.
static bool report(char *path, char *folder, const char *what)
{
    if (path != nullptr)
        fprintf(stderr, "pixodraw: saved %s\n", path);
    else
        fprintf(stderr, "pixodraw: the %s could not be saved in %s: %s\n", what,
                folder != nullptr ? folder : "the working directory", strerror(errno));
    free(folder);
    free(path);
    return path != nullptr;
}

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
        // A crash from here on need not keep what was just saved.
        state->saved_changes = state->changes;
        journal_restart(state->journal, state->canvas);
    }
    return report(path, folder, "picture");
}

bool export_now(paint_state *state)
{
    const vollo_pixelarray *drawing = state != nullptr ? drawing_of(state) : nullptr;
    if (drawing == nullptr)
        return false;
    // A document's whole picture; on a blank start the drawing area alone.
    const paint_rect area = state->document != nullptr
                                ? paint_rect{0, 0, int32_t(drawing->width) - 1, int32_t(drawing->height) - 1}
                                : PAINT_LAYOUT.drawing_area.drawn;
    char *folder = getcwd(nullptr, 0);
    char *path = export_png_numbered(drawing, area, folder != nullptr ? folder : ".", time(nullptr));
    return report(path, folder, "drawing");
}
