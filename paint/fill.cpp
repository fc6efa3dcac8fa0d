// Start-up drawing, first pieces: background, tool band, drawing area, the separators,
// hatched edge and the colour palette. A later piece paints over an earlier one.
#include "interface.h"
#include "state.h"

void fill_color(paint_state *state)
{
    pux_rectangle(state->canvas, 0, 0, PAINT_WIDTH - 1, PAINT_HEIGHT - 1, PAINT_GREY);
    // Column 0 of the band stays grey.
    const paint_rect band = PAINT_LAYOUT.band;
    pux_rectangle(state->canvas, band.x0, band.y0, band.x1, band.y1, PAINT_WHITE);
    fill_color2(state);
}

void fill_color2(paint_state *state)
{
    const paint_rect area = PAINT_LAYOUT.drawing_area.drawn, band = PAINT_LAYOUT.band;

    pux_rectangle(state->canvas, area.x0, area.y0, area.x1, area.y1, PAINT_WHITE);
    for (int32_t x : PAINT_LAYOUT.separators)
        pux_rectangle(state->canvas, x, band.y0, x, band.y1, PAINT_BLACK);
    fill_color3(state);
}

void fill_color3(paint_state *state)
{
    const paint_rect band = PAINT_LAYOUT.band;
    for (int32_t x = 3; x < band.x1; x += 3)
        pux_rectangle(state->canvas, x, PAINT_LAYOUT.hatch_top, x, band.y1, PAINT_BLACK);
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
        const paint_rect cell = PAINT_LAYOUT.palette.drawn;
        copy_picture(state, palette, cell.x0, cell.y0, cell.x1 - cell.x0 + 1, cell.y1 - cell.y0 + 1);
        vollo_delete_clipable(palette);
    }
    square(state);
}
