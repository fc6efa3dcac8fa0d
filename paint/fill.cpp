// Start-up drawing, first pieces: background, tool band, drawing area, separators,
// hatched edge and the colour palette. A later piece paints over an earlier one.
#include "paint.h"

void fill_color(paint_state *state)
{
    pux_rectangle(state->canvas, 0, 0, PAINT_WIDTH - 1, PAINT_HEIGHT - 1, PAINT_GREY);
    // Column 0 of the band stays grey.
    pux_rectangle(state->canvas, 1, 0, PAINT_WIDTH - 1, 133, PAINT_WHITE);
    fill_color2(state);
}

void fill_color2(paint_state *state)
{
    static const int32_t separators[] = {3, 216, 429, 642, 855};

    pux_rectangle(state->canvas, 211, 200, 839, 727, PAINT_WHITE);
    for (int32_t x : separators)
        pux_rectangle(state->canvas, x, 0, x, 133, PAINT_BLACK);
    fill_color3(state);
}

void fill_color3(paint_state *state)
{
    pux_rectangle(state->canvas, 105, 0, 105, 133, PAINT_BLACK);
    pux_rectangle(state->canvas, 315, 0, 315, 133, PAINT_BLACK);
    for (int32_t x = 3; x <= 1047; x += 3)
        pux_rectangle(state->canvas, x, 123, x, 133, PAINT_BLACK);
    fill_color4(state);
}

// Copies the picture's top-left width x height pixels to (left, top), pixel for pixel,
// alpha included. A picture smaller than the region gives only the pixels it has.
void copy_picture(paint_state *state, vollo_pixelarray *picture, int32_t left, int32_t top,
                  int32_t width, int32_t height)
{
    for (int32_t sy = 0; sy < height; sy++)
        for (int32_t sx = 0; sx < width; sx++)
            if (static_cast<uint32_t>(sx) < picture->width &&
                static_cast<uint32_t>(sy) < picture->height)
                puxpixel(state->canvas, vollo_position{sx + left, sy + top},
                         puxcolor(picture, vollo_position{sx, sy}));
}

// Without the palette picture its cell stays white and the rest is drawn all the same,
// so that the tools and the exit button can still be seen.
void fill_color4(paint_state *state)
{
    vollo_pixelarray *palette = load_interface_picture("degrade.bmp");

    if (palette != nullptr)
    {
        copy_picture(state, palette, 430, 0, 212, 123);
        vollo_delete_clipable(palette);
    }
    square(state);
}
