// PIXODRAW: the paint program's declarations.
#ifndef PAINT_H
#define PAINT_H

#include <cstdint>

#include "vollo.h"

// The one state record of a run, handed to every response as its data pointer.
typedef struct paint_state
{
    vollo_pixelarray *canvas;  // drawn into, shown and saved
    vollo_window *window;
    int32_t button_down;       // 1 after the left button went down, 0 after it came up
    uint32_t color;            // current colour of the square brush and the circle
} paint_state;

// ---------------------------------------------------------------------------
// BMP files: uncompressed bottom-up (or top-down) pictures, 24 bits written
// ---------------------------------------------------------------------------

#define BMP_HEADER_SIZE 54       // 14-byte file header + 40-byte info header
#define BMP_MAX_PIXELS (1u << 28) // largest picture the reader accepts (1 GiB of pixels)

// The file header and the info header, field by field (stored little-endian in the file).
typedef struct bmp_header
{
    uint8_t signature[2];        // "BM"
    uint32_t file_size;          // bytes, header included
    uint16_t reserved1;
    uint16_t reserved2;
    uint32_t data_offset;        // where the pixel rows start
    uint32_t info_size;          // 40, or more for the later info headers
    int32_t width;
    int32_t height;              // positive: rows stored bottom-up; negative: top-down
    uint16_t planes;             // 1
    uint16_t bits_per_pixel;     // 24 (written)
    uint32_t compression;        // 0 none
    uint32_t image_size;         // bytes of pixel rows, padding included
    int32_t x_resolution;        // pixels per metre; 0 when unknown
    int32_t y_resolution;
    uint32_t colors_used;
    uint32_t important_colors;
    uint32_t red_mask;           // not used: 24-bit files carry no bit fields
    uint32_t green_mask;
    uint32_t blue_mask;
} bmp_header;

// Bytes of one stored row of `width` pixels at `bits_per_pixel`, padded to a multiple of 4.
uint32_t bmp_row_size(uint32_t width, uint32_t bits_per_pixel);
// Describes a 24-bit bottom-up picture of width x height: sizes, offset 54, 255 colours.
void set_header(bmp_header *header, uint32_t width, uint32_t height);
// The 54 bytes of the header as they are stored in the file.
void bmp_header_to_bytes(const bmp_header *header, uint8_t bytes[BMP_HEADER_SIZE]);
// Writes the header and then the rows of the header's width x height pixels (bottom row
// first, blue-green-red, alpha dropped) to fd, in large blocks. False on a write error
// (errno tells why), also when the disk fills up part-way.
bool write_image(const uint32_t *pixels, int fd, const bmp_header *header);
// Writes the whole canvas, at its own size, to `path` (created with mode 0666 before the
// umask, or truncated). True when every byte reached the file; otherwise false with errno
// telling why, and a file that this call created is removed again.
bool save_bmp(const vollo_pixelarray *canvas, const char *path);

// Reads a BMP file of any kind the library reads (vollo_load_bmp) into a new pixel array
// owned by the caller (vollo_delete_clipable); every pixel is opaque, transparent ones
// composited over white. Null when the file cannot be opened or is not a BMP picture it
// reads whole: no "BM", headers cut short or of an unknown kind, unsupported depth or
// compression, bad bit fields, no palette or an index past its end, zero or absurd sizes,
// pixel data cut short, or no memory for the pixel array.
vollo_pixelarray *load_bmp(const char *path);
// As load_bmp; on failure, when `reason` is not null, *reason points to a static text
// saying why (never null).
vollo_pixelarray *load_bmp_reason(const char *path, const char **reason);

// ---------------------------------------------------------------------------
// Terminal: line input on raw file descriptors and the save dialogue
// ---------------------------------------------------------------------------

#define GNL_READ_SIZE 14         // bytes asked of each read

// The next line read from fd, without its newline, newly allocated (release with free).
// A last line that ends without a newline is returned too; zero bytes are dropped. Null
// at the end of input, on a read error or when memory runs out. One read-ahead buffer
// shared by every fd.
char *get_next_line(int fd);
// One read of at most 14 bytes into buffer, which it ends with a zero byte; the count
// read, 0 at the end of input, -1 for a negative fd or a failed read.
int32_t read_fd(int fd, char *buffer);
// Puts a zero byte at buffer[n]; the index of the first newline before it, or -1.
int32_t find_end_line(char *buffer, int32_t n);
// New string: line followed by at most n bytes of buffer's string. Releases line and
// removes n + 1 bytes (those bytes and their newline) from the front of buffer.
// Null (line released) when line is null or memory runs out.
char *my_gnl_strncat(char *line, char *buffer, int32_t n);
// Copies src to the front of dst (src may lie inside dst, after its start) and clears
// what is left of dst's old string; returns dst.
char *my_gnl_strdup(char *dst, const char *src);
// Bytes before the zero byte.
int32_t my_strlen(const char *s);
// Writes the string to standard output (nothing is reported if that fails).
void my_putstr(const char *s);
// 0 when equal, otherwise a - b of the first differing bytes taken as signed 8-bit values.
int32_t my_strcmp(const char *a, const char *b);
// Appends src to dst, which must have room; returns dst.
char *my_strcat(char *dst, const char *src);
// Asks on the terminal whether to save and under which name (".bmp" is appended), then
// saves the canvas. A failed save prints the path and the reason on standard error and
// asks for the name again; end of input at either question ends without saving.
void save_file(paint_state *state);

// ---------------------------------------------------------------------------
// Interface, tools and clicks
// ---------------------------------------------------------------------------

#define PAINT_WIDTH 1050
#define PAINT_HEIGHT 800
#define PAINT_GREY 0x0080837Eu   // background; its alpha is 0 (the blit does not blend)
#define PAINT_WHITE 0xFFFFFFFFu
#define PAINT_BLACK 0xFF000000u
#define PAINT_KEY_ESCAPE 36
#define PAINT_LEFT_BUTTON 0
#define PAINT_STEP 5             // pixels per size step
#define PAINT_MAX_LEVEL 30       // size steps: 0 to 30, so sizes 0 to 150

// Tool settings shared by the three tools; one static record lives in the click handlers.
typedef struct tool_state
{
    int32_t width;   // a square covers width + 1 columns
    int32_t height;  // and height + 1 rows
    int32_t radius;  // radius of the disc
    int32_t tool;    // 0 none, 1 square brush, 2 circle, 3 eraser
    int32_t level;   // size steps taken, 0 to 30
} tool_state;

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

// Copies the picture's top-left width x height pixels to (left, top) of the canvas,
// alpha included; only the pixels the picture has.
void copy_picture(paint_state *state, vollo_pixelarray *picture, int32_t left, int32_t top,
                  int32_t width, int32_t height);
// Loads an interface picture ("degrade.bmp", "potdepeinture.bmp"), looked for in ./img/,
// then in the img folder beside the executable, the source tree and the install prefix.
// Null when none of them can be loaded.
vollo_pixelarray *load_interface_picture(const char *name);

// Responses handed to the library's main loop; `data` is the paint_state.
// Escape pressed returns 2 (end); every other key event returns 3.
vollo_response set_key_response(vollo_event_state event, int32_t key, void *data);
// Runs the click chain; a left press on the exit button returns 0 (end), else 3.
vollo_response set_mouse_response(vollo_event_state event, int32_t button, void *data);
// Shows the last frame and blits the canvas for the next one; returns 3.
vollo_response expose(void *data);

#endif
