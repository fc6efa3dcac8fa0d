// PIXODRAW: drawing of the interface, clicks, the indicator, responses and presenting.
#ifndef PAINT_INTERFACE_H
#define PAINT_INTERFACE_H

#include <cstdint>

#include "layout.h"
#include "state.h"
#include "vollo.h"

#define PAINT_WIDTH 1050
#define PAINT_HEIGHT 800
#define PAINT_GREY 0x0080837Eu   // background; its alpha is 0 (the blit does not blend)
#define PAINT_WHITE 0xFFFFFFFFu
#define PAINT_BLACK 0xFF000000u

// Pixel routines. Every one of them is clipped to the pixel array: positions outside
// it are neither written nor read.

// Stores the colour at the position (nothing outside the array); returns 0.
int puxpixel(vollo_pixelarray *array, vollo_position position, uint32_t color);
// The pixel at the position; 0 outside the array.
uint32_t puxcolor(vollo_pixelarray *array, vollo_position position);
// Fills size->width + 1 columns by size->height + 1 rows from the top-left corner `position`.
void puxsquare(vollo_pixelarray *array, uint32_t color, vollo_position position,
               const tool_state *size);
// puxpixel at (x, y).
void draw_pixel(vollo_pixelarray *array, uint32_t color, int32_t x, int32_t y);
// Fills the rectangle x0..x1, y0..y1 (inclusive) with the colour, clipped to the array.
void pux_rectangle(vollo_pixelarray *array, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                   uint32_t color);
// Filled disc of the state's colour on its canvas: midpoint circles of radius r down to 0.
void algo_circle(paint_state *state, vollo_position centre, int32_t radius);

// Click chain: every click event runs through all of them, in this order.
void click_pos(vollo_position position, vollo_event_state event, int32_t button,
               paint_state *state);
void click_size(vollo_position position, vollo_event_state event, int32_t button,
                paint_state *state);
void continue_click_size1(vollo_position position, tool_state *size, vollo_event_state event,
                          int32_t button);
void continue_click_size(vollo_position position, tool_state *size, vollo_event_state event,
                         int32_t button);
void click_min(vollo_position position, vollo_event_state event, int32_t button,
               paint_state *state, tool_state *size);
void click_win_col(vollo_position position, vollo_event_state event, int32_t button,
                   paint_state *state);
// Size bar after a plus click: paints it white up to x = 5 * count + 874 while count <= 29,
// then increases count; returns 0.
int print_curser_plus(paint_state *state, int32_t *count);
// Size bar after a minus click: paints grey x = 5 * count + 851 .. 5 * count + 899 while
// count > 7, then decreases count; returns 0.
int print_curser_minus(paint_state *state, int32_t *count);

// Start-up drawing of the interface: fill_color is the entry; each piece calls the next.
void fill_color(paint_state *state);
void fill_color2(paint_state *state);
void fill_color3(paint_state *state);
void fill_color4(paint_state *state);
void square(paint_state *state);
void bucket_bmp(paint_state *state);
void minus(paint_state *state);
void plus(paint_state *state);
void erase(paint_state *state);
void erase2(paint_state *state);
void erase3(paint_state *state);
void exit_win(paint_state *state);
void exit_win1(paint_state *state);
// The tool band's empty cell: the current tool's name ("no tool" before the first
// choice), the current colour as a swatch and the size as a number; the undo history
// lets go of the cell. Drawn last at start-up and again after each choice.
void draw_indicator(paint_state *state);

// Copies the picture's top-left width x height pixels to (left, top) of the canvas,
// alpha included; only the pixels the picture has.
void copy_picture(paint_state *state, vollo_pixelarray *picture, int32_t left, int32_t top,
                  int32_t width, int32_t height);
// Loads an interface picture ("degrade.bmp", "potdepeinture.bmp"), looked for in ./img/,
// then in the img folder beside the executable, the source tree and the install prefix
// (only in $PIXODRAW_IMG_DIR when that is set). Null, after one warning line on standard
// error, when none of them can be loaded.
vollo_pixelarray *load_interface_picture(const char *name);

// Responses handed to the library's main loop; `data` is the paint_state.
// Escape pressed returns 2 (end); every other key event returns 3, after the undo and redo
// keys (history_key) did their work.
vollo_response set_key_response(vollo_event_state event, int32_t key, void *data);
// Runs the click chain and presents its result; a left press on the exit button returns 0
// (end), else 3.
vollo_response set_mouse_response(vollo_event_state event, int32_t button, void *data);
// Blits the canvas and shows it when it may differ from what is on screen: after a
// change, for the ticks a window event asked for, and every PAINT_HEARTBEAT_TICKS ticks
// otherwise; returns 3.
vollo_response expose(void *data);
// Mouse moves: continues the stroke to the pointer; returns 3.
vollo_response set_move_response(const vollo_position *move, void *data);
// Gaining the focus may come with lost window contents: presents again; returns 3.
vollo_response set_focus_response(vollo_event_state event, void *data);
// The pointer entering the window: presents again; returns 3.
vollo_response set_mouse_enter_response(vollo_event_state event, void *data);
// A resize: presents for the next PAINT_RESIZE_TICKS ticks (the new drawable size is taken
// up a few presents late); returns 3.
vollo_response set_resize_response(uint32_t width, uint32_t height, void *data);

#define PAINT_START_TICKS 30       // presents every tick at first, while the window maps
// Otherwise every 10 s at 100 ticks a second. A present after a long rest costs far more
// than one in a busy run (here about 85 ms of CPU against 8 ms: the canvas, its texture
// and the window's buffers have gone cold), so the heartbeat is kept rare.
#define PAINT_HEARTBEAT_TICKS 1000
#define PAINT_RESIZE_TICKS 5

// Presents the canvas on each of the next `ticks` ticks at least.
void request_present(paint_state *state, int32_t ticks);

#endif
