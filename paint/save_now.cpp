// Ctrl+S saves the whole canvas, Ctrl+E exports the drawing as PNG: at once, in the
// working directory, the program going on.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "paint.h"

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
    // The full folder name, so that the message tells where the file is.
    char *folder = getcwd(nullptr, 0);
    char *path = save_bmp_numbered(state->canvas, folder != nullptr ? folder : ".", time(nullptr));
    if (path != nullptr)
        state->saved_changes = state->changes;
    return report(path, folder, "picture");
}

bool export_now(paint_state *state)
{
    if (state == nullptr || state->canvas == nullptr)
        return false;
    char *folder = getcwd(nullptr, 0);
    char *path = export_png_numbered(state->canvas, PAINT_LAYOUT.drawing_area.drawn,
                                     folder != nullptr ? folder : ".", time(nullptr));
    return report(path, folder, "drawing");
}
