/* A C program on vollo with no display: pixel arrays, drawing, shapes, the tracked
   allocator and the INI store, through the shared library. Exit status 0 when every
   check holds; each failed check is named on standard error. */
#include <stdio.h>
#include <string.h>

#include "vollo.h"

static int failures = 0;

static void check(bool holds, const char *what)
{
    if (!holds)
    {
        fprintf(stderr, "failed: %s (vollo_error: %s)\n", what, vollo_error());
        ++failures;
    }
}

static uint32_t pixel(const vollo_pixelarray *array, int x, int y)
{
    return array->pixels[y * (int)array->width + x];
}

int main(void)
{
    vollo_pixelarray *canvas = vollo_new_pixelarray(7, 5);
    vollo_pixelarray *stamp = vollo_new_pixelarray(2, 2);
    vollo_position at = {3, 1};
    vollo_position corner = {0, 4};
    vollo_ini *ini = vollo_new_ini();
    vollo_rect a = {0, 0, 2, 2}, b = {1, 1, 2, 2};

    check(canvas && stamp && ini, "records are made");
    if (!canvas || !stamp || !ini)
        return 1;
    /* Fields from the first to the last: C reads them where the C++ library wrote them. */
    check(canvas->type == VOLLO_PIXELARRAY && canvas->height == 5 && canvas->clip_width == 7 &&
              canvas->scale_y == 1.0 && canvas->rotation == 0.0 && canvas->staging == NULL,
          "a new pixel array's head");
    check(pixel(canvas, 6, 4) == VOLLO_PINK, "a new pixel array is pink");
    check(get_nb_alloc() == 2, "the pixels come from the tracked allocator");

    vollo_fill((vollo_buffer *)canvas, VOLLO_BLACK);
    vollo_fill((vollo_buffer *)stamp, VOLLO_WHITE);
    vollo_blit((vollo_buffer *)canvas, (vollo_clipable *)stamp, &at);
    vollo_set_rectangle((vollo_buffer *)canvas, corner, 2, 1, VOLLO_RED, true);
    check(pixel(canvas, 0, 0) == VOLLO_BLACK && pixel(canvas, 3, 1) == VOLLO_WHITE &&
              pixel(canvas, 4, 2) == VOLLO_WHITE && pixel(canvas, 5, 2) == VOLLO_BLACK,
          "fill and blit");
    check(pixel(canvas, 1, 4) == VOLLO_RED && pixel(canvas, 2, 4) == VOLLO_BLACK, "a filled rectangle");

    vollo_ini_set_field(ini, default_scope, "name", 0, "c");
    vollo_ini_set_field(ini, "game", "lives", 0, "3");
    check(strcmp(vollo_ini_get_field(ini, NULL, "name", 0), "c") == 0 &&
              vollo_ini_get_int(ini, "game", "lives", 0, -1) == 3,
          "INI fields");
    check(vollo_rects_overlap(a, b) && !vollo_point_in_rect(2, 0, a), "collisions");
    check(vollo_load_pixelarray("/nonexistent/picture.bmp") == NULL && vollo_error()[0] != '\0',
          "a failure says why");

    vollo_delete_ini(ini);
    vollo_delete_clipable((vollo_clipable *)stamp);
    vollo_delete_clipable((vollo_clipable *)canvas);
    check(get_nb_alloc() == 0, "deleting gives the pixels back");
    if (failures == 0)
        printf("vollo from C: every check holds\n");
    return failures == 0 ? 0 : 1;
}
