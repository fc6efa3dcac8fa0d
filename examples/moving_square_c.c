/* The moving square again, in C99 and linked with the shared library libvollo.so.

   Shows: the header from C (records read through their fields, a window or pixel array
   passed where a buffer is expected by a cast to its head), the main loop with a key
   response and a main function, and the keyboard state. Escape or closing the window
   ends it; --frames N ends it after N frames, --screenshot PATH saves the last one. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vollo.h"

enum { WIDTH = 320, HEIGHT = 240, SIDE = 24, STEP = 3 };
static const uint32_t background = VOLLO_RGB(16, 32, 64);
static const uint32_t square = VOLLO_RGB(255, 192, 48);

/* The program's own data, handed by vollo_loop to every response. */
typedef struct game
{
    vollo_window *window;
    vollo_pixelarray *canvas;
    int x, y;          /* top-left corner of the square */
    long frames_left;  /* -1: no limit */
    const char *screenshot;
} game;

static vollo_response on_key(vollo_event_state state, int32_t key, void *data)
{
    (void)data;
    return state == VOLLO_PRESSED && key == VOLLO_KEY_ESCAPE ? 0 : VOLLO_CONTINUE;
}

static vollo_response each_frame(void *data)
{
    game *g = data;
    int row, column;
    bool last;
    if (vollo_key_down(VOLLO_KEY_LEFT) && g->x >= STEP)
        g->x -= STEP;
    if (vollo_key_down(VOLLO_KEY_RIGHT) && g->x + SIDE + STEP <= WIDTH)
        g->x += STEP;
    if (vollo_key_down(VOLLO_KEY_UP) && g->y >= STEP)
        g->y -= STEP;
    if (vollo_key_down(VOLLO_KEY_DOWN) && g->y + SIDE + STEP <= HEIGHT)
        g->y += STEP;

    /* Pixel (x, y) is pixels[y * width + x]. */
    vollo_fill((vollo_buffer *)g->canvas, background);
    for (row = 0; row < SIDE; ++row)
        for (column = 0; column < SIDE; ++column)
            g->canvas->pixels[(g->y + row) * WIDTH + g->x + column] = square;
    vollo_blit((vollo_buffer *)g->window, (vollo_clipable *)g->canvas, NULL);

    last = g->frames_left >= 0 && --g->frames_left <= 0;
    if (last && g->screenshot && !vollo_save_buffer((vollo_buffer *)g->window, g->screenshot))
        fprintf(stderr, "cannot save the screenshot: %s\n", vollo_error());
    vollo_display(g->window);
    return last ? 0 : VOLLO_CONTINUE;
}

int main(int argc, char **argv)
{
    game g = {NULL, NULL, (WIDTH - SIDE) / 2, (HEIGHT - SIDE) / 2, -1, NULL};
    vollo_response result;
    int i;
    for (i = 1; i + 1 < argc; i += 2)
        if (strcmp(argv[i], "--frames") == 0)
            g.frames_left = strtol(argv[i + 1], NULL, 10);
        else if (strcmp(argv[i], "--screenshot") == 0)
            g.screenshot = argv[i + 1];

    g.window = vollo_start(WIDTH, HEIGHT, false, "vollo: moving square in C");
    if (g.window == NULL)
    {
        fprintf(stderr, "cannot open a window: %s\n", vollo_error());
        return 1;
    }
    g.canvas = vollo_new_pixelarray(WIDTH, HEIGHT);
    if (g.canvas == NULL)
    {
        vollo_stop(g.window);
        return 1;
    }
    vollo_set_key_response(on_key);
    vollo_set_loop_main_function(each_frame);
    result = vollo_loop(g.window, 60, &g);
    vollo_delete_clipable((vollo_clipable *)g.canvas);
    vollo_stop(g.window);
    return result == 0 || result == 1 ? 0 : 1; /* 1: the window was closed */
}
