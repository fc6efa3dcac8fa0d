// The exit button (a door with its leaf opened, on a white face) and what follows it:
// the save dialogue on the terminal.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bmp.h"
#include "document.h"
#include "interface.h"
#include "state.h"
#include "terminal.h"

namespace
{

// The typed name followed by ".bmp", newly allocated; null when memory runs out.
char *bmp_path(const char *name)
{
    const char suffix[] = ".bmp";
    char *path = static_cast<char *>(malloc(static_cast<size_t>(my_strlen(name)) + sizeof suffix));
    if (path == nullptr)
        return nullptr;
    path[0] = '\0';
    my_strcat(path, name);
    my_strcat(path, suffix);
    return path;
}

}  // namespace

save_outcome save_file(paint_state *state)
{
    if (state == nullptr || state->canvas == nullptr)
        return SAVE_DECLINED;
    my_putstr("Save work ? [yes/no]\n");
    char *answer = get_next_line(0);
    if (answer == nullptr)
        return SAVE_UNANSWERED;
    const bool save = my_strcmp(answer, "yes") == 0;
    // Only an exact "no" lets the drawing go; anything else unclear keeps it.
    const bool declined = my_strcmp(answer, "no") == 0;
    free(answer);
    if (declined)
        return SAVE_DECLINED;
    if (!save)
        return SAVE_UNCLEAR;
    // Until a save succeeds, or the input ends: a failed save must not lose the drawing.
    while (true)
    {
        my_putstr("File name : ");
        char *name = get_next_line(0);
        if (name == nullptr)
            return SAVE_UNANSWERED;
        char *path = bmp_path(name);
        free(name);
        if (path == nullptr)
        {
            fprintf(stderr, "pixodraw: the picture could not be saved: %s\n", strerror(ENOMEM));
            return SAVE_UNANSWERED;
        }
        const bool saved = save_bmp_safely(drawing_of(state), path, true);
        if (saved)
        {
            fprintf(stderr, "pixodraw: saved %s\n", path);
            state->saved_changes = state->changes;
        }
        else
            fprintf(stderr, "pixodraw: the picture could not be saved to %s: %s\n", path,
                    strerror(errno));
        free(path);
        if (saved)
            return SAVE_DONE;
    }
}

void exit_win(paint_state *state)
{
    const paint_rect face = PAINT_LAYOUT.exit.drawn;
    pux_rectangle(state->canvas, face.x0, face.y0, face.x1, face.y1, PAINT_WHITE);
    pux_rectangle(state->canvas, 911, 740, 989, 749, PAINT_BLACK);
    exit_win1(state);
}

void exit_win1(paint_state *state)
{
    pux_rectangle(state->canvas, 921, 670, 979, 749, PAINT_BLACK);
    for (int32_t k = 0; k <= 29; k++)
        pux_rectangle(state->canvas, 951 + k, 700 - k, 951 + k, 769 - k, PAINT_GREY);
    draw_indicator(state);
}
