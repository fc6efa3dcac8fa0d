/* A contact sheet: every photo given, made small, in a grid with its file name under it,
 * saved as one picture. It opens no window and needs no display.
 *
 *   contact_sheet OUT.png PHOTO...          thumbnails decoded at their small size
 *   contact_sheet --full OUT.png PHOTO...   each photo decoded whole, then scaled
 *
 * Shows: vollo_decode_picture_scaled (a JPEG is decoded at a fraction of its size as it
 * is read, so a 24-megapixel photo never costs its 96 MiB), vollo_adopt_pixels (pixels
 * in system memory, outside the arena's ceiling), vollo_text_fit (a long name shortened
 * with an ellipsis) and vollo_error. The --full way is there to compare with. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vollo.h"

enum
{
    COLUMNS = 5,
    THUMB = 200,             /* largest side of a thumbnail */
    CELL_W = THUMB + 16,
    CELL_H = THUMB + 36,     /* room for the name */
    TEXT_SCALE = 1
};

/* The file name without its folders. */
static const char *base_name(const char *path)
{
    const char *slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

/* A thumbnail fitting THUMB x THUMB: decoded small, or (full) decoded whole then scaled. */
static vollo_pixelarray *thumbnail(const char *path, int full)
{
    uint32_t width = 0, height = 0;
    uint32_t *pixels = full ? vollo_decode_picture(path, &width, &height)
                            : vollo_decode_picture_scaled(path, THUMB, THUMB, &width, &height);
    vollo_pixelarray *whole, *small;
    if (!pixels)
        return NULL;
    whole = vollo_adopt_pixels(pixels, width, height);
    if (!whole)
    {
        free(pixels);
        return NULL;
    }
    if (!full || (width <= THUMB && height <= THUMB))
        return whole;
    /* Aspect kept: the longer side becomes THUMB. */
    if (width >= height)
        small = vollo_scale_pixelarray(whole, THUMB, (uint32_t)((height * (uint64_t)THUMB + width / 2) / width),
                                       VOLLO_FILTER_BOX);
    else
        small = vollo_scale_pixelarray(whole, (uint32_t)((width * (uint64_t)THUMB + height / 2) / height), THUMB,
                                       VOLLO_FILTER_BOX);
    vollo_delete_clipable((vollo_clipable *)whole);
    return small;
}

/* Puts photo `index` into its cell: the thumbnail centred, the name under it. */
static void place(vollo_pixelarray *sheet, int index, const char *path, int full)
{
    vollo_position corner, at;
    char name[128];
    int32_t width;
    vollo_pixelarray *thumb = thumbnail(path, full);
    corner.x = (index % COLUMNS) * CELL_W + 8;
    corner.y = (index / COLUMNS) * CELL_H + 8;
    if (thumb)
    {
        at.x = corner.x + (THUMB - (int32_t)thumb->width) / 2;
        at.y = corner.y + (THUMB - (int32_t)thumb->height) / 2;
        vollo_blit((vollo_buffer *)sheet, (vollo_clipable *)thumb, &at);
        vollo_delete_clipable((vollo_clipable *)thumb);
    }
    else
    {
        fprintf(stderr, "contact_sheet: %s\n", vollo_error());
        vollo_set_rectangle((vollo_buffer *)sheet, corner, THUMB, THUMB, VOLLO_RED, 0);
    }
    width = vollo_text_fit(NULL, base_name(path), TEXT_SCALE, THUMB, name, sizeof name);
    at.x = corner.x + (THUMB - width) / 2;
    at.y = corner.y + THUMB + 8;
    vollo_draw_text((vollo_buffer *)sheet, name, at, TEXT_SCALE, VOLLO_LIGHT_GRAY);
}

int main(int argc, char **argv)
{
    int full = argc > 1 && strcmp(argv[1], "--full") == 0;
    int first = 2 + full, count = argc - first, i, saved;
    uint32_t rows, width = COLUMNS * CELL_W, height;
    uint32_t *pixels;
    vollo_pixelarray *sheet;
    if (count < 1)
    {
        fprintf(stderr, "usage: contact_sheet [--full] OUT.png PHOTO...\n");
        return 2;
    }
    rows = (uint32_t)(count + COLUMNS - 1) / COLUMNS;
    height = rows * CELL_H;
    /* The sheet too lives in system memory: its size depends on the number of photos. */
    pixels = (uint32_t *)malloc((size_t)width * height * 4);
    sheet = pixels ? vollo_adopt_pixels(pixels, width, height) : NULL;
    if (!sheet)
    {
        free(pixels);
        fprintf(stderr, "contact_sheet: no memory for a %u x %u sheet\n", width, height);
        return 1;
    }
    vollo_fill((vollo_buffer *)sheet, VOLLO_RGB(24, 24, 28));
    for (i = 0; i < count; ++i)
        place(sheet, i, argv[first + i], full);
    saved = vollo_save_buffer((vollo_buffer *)sheet, argv[first - 1]);
    if (!saved)
        fprintf(stderr, "contact_sheet: %s\n", vollo_error());
    vollo_delete_clipable((vollo_clipable *)sheet);
    return saved ? 0 : 1;
}
