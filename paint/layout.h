// PIXODRAW's interface geometry: every control once, with the rectangle the start-up
// drawing gives it and the rectangle where the left button reaches it. The two differ on
// purpose for some controls (the palette's click reaches its black separator, the drawing
// area's one column further on each side, the door's stops short of its white face).
// Canvas pixels, bounds included; a control that takes no click has an empty click
// rectangle.
#ifndef PAINT_LAYOUT_H
#define PAINT_LAYOUT_H

#include <cstdint>

#include "vollo.h"

// A rectangle of pixels, bounds included; empty when x0 > x1 or y0 > y1.
typedef struct paint_rect
{
    int32_t x0, y0, x1, y1;
} paint_rect;

#define PAINT_NO_RECT (paint_rect{0, 0, -1, -1})
#define PAINT_EVERYWHERE (paint_rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX})

typedef struct paint_control
{
    paint_rect drawn;
    paint_rect click;
} paint_control;

typedef struct paint_layout
{
    paint_control square_brush;  // icon; click on its cell
    paint_control circle;        // icon, a disc centred in `drawn`; click on its cell
    paint_control fill;          // paint-pot picture; click on its cell
    paint_control indicator;     // the cell that shows the tool, colour and size
    paint_control palette;       // palette picture
    paint_control eraser;        // icon; click on its cell
    paint_control minus;
    paint_control plus;          // bounds of the sign: its bar is plus_bar
    paint_control size_bar;      // painted by the size buttons only
    paint_control drawing_area;
    paint_control exit;          // the door's white face
    paint_rect band;             // the white tool band
    paint_rect plus_bar;         // the plus sign's bar; its upright is the rest of `plus`
    paint_rect plus_upright;
    int32_t separators[7];       // columns of the band's black separator lines
    int32_t hatch_top;           // the band's hatched lower edge: rows hatch_top..band.y1
} paint_layout;

// clang-format off
inline constexpr paint_layout PAINT_LAYOUT = {
    /* square_brush */ {{31, 40, 74, 79},      {5, 0, 105, 120}},
    /* circle       */ {{130, 30, 190, 90},    {106, 0, 210, 120}},
    /* fill         */ {{220, 0, 281, 104},    {216, 0, 315, 120}},
    /* indicator    */ {{316, 0, 428, 120},    PAINT_NO_RECT},
    /* palette      */ {{430, 0, 641, 122},    {430, 0, 642, 122}},
    /* eraser       */ {{714, 26, 802, 94},    {645, 0, 855, 123}},
    /* minus        */ {{926, 13, 994, 34},    {927, 15, 995, 32}},
    /* plus         */ {{926, 55, 994, 114},   {925, 55, 993, 113}},
    /* size_bar     */ {{901, 145, 1019, 199}, PAINT_NO_RECT},
    /* drawing_area */ {{211, 200, 839, 727},  {210, 200, 840, 727}},
    /* exit         */ {{881, 650, 1019, 779}, {885, 654, 1016, 779}},
    /* band         */ {1, 0, 1049, 133},
    /* plus_bar     */ {926, 77, 994, 94},
    /* plus_upright */ {951, 55, 969, 114},
    /* separators   */ {3, 216, 429, 642, 855, 105, 315},
    /* hatch_top    */ 123,
};
// clang-format on

// True when the position lies in the rectangle (bounds included).
inline bool rect_contains(paint_rect r, vollo_position p)
{
    return p.x >= r.x0 && p.x <= r.x1 && p.y >= r.y0 && p.y <= r.y1;
}

#endif
