// PIXODRAW: the paint program's declarations.
#ifndef PAINT_H
#define PAINT_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>
#include <ctime>
#include <string>

#include <sys/types.h>

#include "layout.h"
#include "vollo.h"

#define PAINT_HISTORY_LIMIT (64u << 20)  // bytes of undo history kept at most

// One undone or redone drawing action: the pixels of `area` XOR-ed before against after,
// run-length coded (see history_encode).
typedef struct history_step
{
    paint_rect area;
    std::vector<uint32_t> diff;
    uint64_t serial = 0;  // the history's clock when it was made
    // A change of the picture's size or shape (crop, rotate, flip): the whole picture
    // before and after it, each width x height run-length coded; `area` and `diff` unused.
    int32_t reshape = 0;
    uint32_t width_before = 0, height_before = 0, width_after = 0, height_after = 0;
    std::vector<uint32_t> code_before, code_after;
} history_step;

// Undo history: the steps, oldest first; the last `undone` of them are undone (redo
// brings them back). An open action keeps the pixels of `saved` as they were before it.
typedef struct paint_history
{
    std::deque<history_step> steps;
    size_t undone = 0;
    size_t bytes = 0;                    // memory held by the steps
    size_t limit = PAINT_HISTORY_LIMIT;  // the oldest steps go when `bytes` would pass it
    int32_t open = 0;                    // 1 while an action is being recorded
    paint_rect saved = PAINT_NO_RECT;    // area held in `before`
    paint_rect touched = PAINT_NO_RECT;  // area the open action may have changed
    std::vector<uint32_t> before;
    std::vector<uint32_t> difference;    // room for the step being coded
    int32_t lost = 0;                    // 1 when memory ran out during the open action
    uint64_t clock = 0;                  // counts the steps made and the areas forgotten
    paint_rect forgotten_area = PAINT_NO_RECT;  // bounds of every area forgotten so far
    std::vector<uint64_t> forgotten;     // per pixel of it: the clock when last forgotten
    paint_rect applied_area = PAINT_NO_RECT;    // the last step undone or redone, and the
    std::vector<uint32_t> applied;              // code of what it changed there
    uint64_t covers = 0;                 // history_cover calls so far: new paint shows here
} paint_history;

// The tools, numbered as they always were.
typedef enum paint_tool : int32_t
{
    TOOL_NONE = 0,    // before the first choice: clicks in the drawing area do nothing
    TOOL_SQUARE = 1,  // square brush: a square of the colour, top-left at the point
    TOOL_CIRCLE = 2,  // a filled disc of the colour, centred on the point
    TOOL_ERASER = 3,  // a white square
    TOOL_FILL = 4     // fills the region of one colour around the point
} paint_tool;

// Tool settings shared by the tools; the state record holds the run's one.
typedef struct tool_state
{
    int32_t width;   // a square covers width + 1 columns
    int32_t height;  // and height + 1 rows
    int32_t radius;  // radius of the disc
    paint_tool tool;
    int32_t level;   // size steps taken, 0 to 30
} tool_state;

#define PAINT_BAR_COUNT_START 8  // the size bar's count at level 0

// The shape a tool stamps, as one span of columns per row relative to the stamp point:
// row top + k covers columns left[k] .. right[k]. Every span contains column 0.
typedef struct stamp_shape
{
    int32_t top = 0;
    std::vector<int32_t> left, right;
    uint32_t color = 0;
    paint_tool tool = TOOL_NONE;  // what it was made for
    int32_t size = -1;
} stamp_shape;

// The stroke under way while the left button is held after a press in the drawing area.
typedef struct paint_stroke
{
    int32_t active = 0;                // 1 from such a press to the release
    int32_t stamped = 0;               // 1 when the shape at `last` is painted
    vollo_position last = {0, 0};      // last point of the path
    stamp_shape shape;                 // of the current tool, kept from stamp to stamp
    int32_t moved = 0;                 // 1 once the pointer moved during the stroke
    paint_rect clip = PAINT_NO_RECT;   // a drag paints only here
} paint_stroke;

struct paint_journal;

// The one state record of a run, handed to every response as its data pointer.
typedef struct paint_state
{
    vollo_pixelarray *canvas;  // drawn into, shown and saved
    vollo_window *window;
    int32_t button_down;       // 1 after the left button went down, 0 after it came up
    uint32_t color;            // current colour of the square brush and the circle
    uint64_t changes = 0;      // drawing actions, undos and redos so far
    tool_state tools{};            // tool, size and level, all none or 0 at the start
    paint_stroke stroke{};
    paint_history history{};
    int32_t present_ticks = 0;     // ticks that still present the canvas whatever happens
    int32_t idle_ticks = 0;        // ticks since the last present
    uint64_t saved_changes = 0;    // `changes` when the canvas was last saved whole
    int32_t bar_count = PAINT_BAR_COUNT_START;  // drives the size bar: 8 plus the level
    struct paint_document *document = nullptr;  // a picture opened through a view, or null
    paint_journal *journal = nullptr;  // the session's journal on disk, if any
    paint_rect selection = PAINT_NO_RECT;  // selected pixels of the drawing, if any
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
// Every write of the BMP writer goes through this pointer (write(2) unless a test
// points it at a writer that fails part-way).
extern ssize_t (*bmp_write)(int fd, const void *bytes, size_t count);
// The whole BMP file save_bmp writes for the canvas, in a new block of *size bytes
// (release with free); null with errno telling why (EINVAL, EFBIG, ENOMEM).
uint8_t *encode_bmp(const vollo_pixelarray *canvas, uint64_t *size);
// Saves the canvas with vollo_write_file (its rules for links, permissions, devices and
// pipes, and for leaving an existing file whole or untouched), or, with `replace` false,
// with vollo_write_new_file, which never replaces an existing path (false, EEXIST).
// False with errno telling why.
bool save_bmp_safely(const vollo_pixelarray *canvas, const char *path, bool replace);
// Saves the canvas safely, without replacing anything, as
// `folder`/pixodraw-YYYYMMDD-HHMMSS.bmp for the local time `when`, or with the first
// free suffix -2, -3, ... The path saved to, newly allocated (release with free);
// null with errno telling why.
char *save_bmp_numbered(const vollo_pixelarray *canvas, const char *folder, time_t when);
// Writes the bytes to a new file `folder`/pixodraw-YYYYMMDD-HHMMSS`extension` for the
// local time `when`, or with the first free suffix -2, -3, ..., never replacing anything.
// The path written, newly allocated (release with free); null with errno telling why.
char *write_numbered(const void *bytes, uint64_t size, const char *folder, time_t when,
                     const char *extension);
// The pixels of `area` (cut to the array), made opaque, as a PNG file saved like
// write_numbered with ".png". The path (release with free); null with errno telling why.
char *export_png_numbered(const vollo_pixelarray *pixels, paint_rect area, const char *folder,
                          time_t when);

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
// read, 0 at the end of input, -1 for a negative fd, a failed read or a stop signal
// (SIGINT, SIGTERM) received before or while it waits.
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
// How the save dialogue ended.
typedef enum save_outcome
{
    SAVE_DONE,        // the canvas was saved
    SAVE_DECLINED,    // the answer was not yes (or there was no canvas)
    SAVE_UNANSWERED,  // the input ended (or failed) before a save succeeded
    SAVE_UNCLEAR      // the answer was neither exactly yes nor exactly no
} save_outcome;

// Asks on the terminal whether to save and under which name (".bmp" is appended), then
// saves the canvas safely (save_bmp_safely) and prints "pixodraw: saved PATH" on
// standard error. A failed save prints the path and the reason on standard error and
// asks for the name again; end of input at either question ends without saving.
save_outcome save_file(paint_state *state);
// Ctrl+S: saves the canvas as a numbered file in the working directory
// (save_bmp_numbered), or a document to its own file (document_save), and says where,
// or why not, on standard error. True when saved.
bool save_now(paint_state *state);
// Ctrl+E: exports the drawing area as a numbered PNG file in the working directory
// (export_png_numbered) and says where, or why not, on standard error. True when saved.
bool export_now(paint_state *state);
// Keeps a canvas that would otherwise be lost: saves it as a numbered file in the
// working directory, else in $HOME, else in $TMPDIR (or /tmp), and says where on
// standard error. False, after saying why on standard error, when no folder took it.
bool save_recovery(paint_state *state);
// After the window closed: the save dialogue (none after a stop signal), then a recovery
// file when the canvas changed since its last save and the dialogue ended without a
// clear answer, then the journal is removed. The exit status: 128 plus the stop signal's
// number after one, else 0, or 1 when the drawing could be neither saved nor kept.
int end_session(paint_state *state);
// The folders a recovery file or a journal may go to, in order: the working directory,
// $HOME, $TMPDIR (or /tmp).
std::vector<std::string> recovery_folders(void);

// Makes SIGINT and SIGTERM only note their arrival (no SA_RESTART, so waiting reads end).
void install_stop_signals(void);
// The number of the stop signal received, or 0.
int stop_signal(void);
// Waits until fd has input (or its end, or an error): true; false once a stop signal
// has arrived, before or during the wait.
bool wait_for_input(int fd);
// Handles --help, -h, --version and unknown options (usage on standard output, or an
// error on standard error). -1 when the program goes on, else the exit status (0 or
// 2). *operand_count receives the number of arguments that are not options (after a
// "--", all are), *picture the first of them (null when none).
int read_command_line(int argc, char **argv, const char **picture, int *operand_count);
// True when the option is among the arguments before a "--".
bool command_line_has(int argc, char **argv, const char *option);
// The picture on the clipboard as new pixels (malloc), and the name
// clipboard-YYYYMMDD-HHMMSS.png (local time) that Ctrl+S gives it; null when the clipboard
// holds no picture (vollo_error says why).
uint32_t *clipboard_picture(char *path, size_t room, uint32_t *width, uint32_t *height);

// ---------------------------------------------------------------------------
// Interface, tools and clicks
// ---------------------------------------------------------------------------

#define PAINT_WIDTH 1050
#define PAINT_HEIGHT 800
#define PAINT_GREY 0x0080837Eu   // background; its alpha is 0 (the blit does not blend)
#define PAINT_WHITE 0xFFFFFFFFu
#define PAINT_BLACK 0xFF000000u
#define PAINT_KEY_ESCAPE 36
#define PAINT_KEY_S 18           // SFML key codes, as the library passes them
#define PAINT_KEY_E 4
#define PAINT_KEY_LEFT_CONTROL 37
#define PAINT_KEY_RIGHT_CONTROL 41
#define PAINT_LEFT_BUTTON 0
#define PAINT_STEP 5             // pixels per size step
#define PAINT_MAX_LEVEL 30       // size steps: 0 to 30, so sizes 0 to 150

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

// ---------------------------------------------------------------------------
// Presenting, strokes, fill and undo
// ---------------------------------------------------------------------------

#define PAINT_START_TICKS 30       // presents every tick at first, while the window maps
// Otherwise every 10 s at 100 ticks a second. A present after a long rest costs far more
// than one in a busy run (here about 85 ms of CPU against 8 ms: the canvas, its texture
// and the window's buffers have gone cold), so the heartbeat is kept rare.
#define PAINT_HEARTBEAT_TICKS 1000
#define PAINT_RESIZE_TICKS 5
#define PAINT_KEY_Y 24
#define PAINT_KEY_Z 25
#define PAINT_KEY_LCONTROL 37
#define PAINT_KEY_LSHIFT 38
#define PAINT_KEY_RCONTROL 41
#define PAINT_KEY_RSHIFT 42

// Presents the canvas on each of the next `ticks` ticks at least.
void request_present(paint_state *state, int32_t ticks);

// True when the position lies in the drawing area, x 210-840, y 200-727.
bool in_drawing_area(vollo_position position);
// Spans of the filled disc of radius r (none when r < 0): every pixel of the midpoint rings
// of radius r down to 0, and every pixel between two of them on the same row.
void disc_spans(int32_t radius, stamp_shape *shape);
// Makes `shape` the stamp of the current tool (square brush, circle or eraser) at its size
// and colour; false for the other tools. Kept as is when nothing changed since.
bool tool_shape(const paint_state *state, const tool_state *tools, stamp_shape *shape);
// The points of the line from `from` to `to`, both included, each one step (straight or
// diagonal) from the one before (Bresenham).
std::vector<vollo_position> line_points(vollo_position from, vollo_position to);
// Stamps the shape at every point of the line from `from` to `to` (both included) that lies
// in the drawing area, painting their union once, cut to `clip` (PAINT_EVERYWHERE: only
// to the canvas); when `from_painted`, the shape at `from` is taken as already painted.
// Records the area it changes in the open action.
void stamp_path(paint_state *state, const stamp_shape *shape, vollo_position from,
                vollo_position to, bool from_painted, paint_rect clip);
// Left press: starts a stroke when it lies in the drawing area; its stamps will be cut to
// the drawing area.
void stroke_press(paint_state *state, vollo_position position);
// Pointer move while a stroke is under way: stamps the current tool up to the position.
void stroke_move(paint_state *state, vollo_position position);
// Left release: ends the stroke at the position (or, without a stroke, stamps there when it
// lies in the drawing area), or fills there with the fill tool; then ends the action. A
// click (no stroke, or a press and release at one point without a move) stamps the whole
// shape, which may reach over the interface; a drag paints inside the drawing area only.
void stroke_release(paint_state *state, tool_state *tools, vollo_position position);

// Fills the 4-connected region of the pixels that have exactly the colour of `seed`,
// within `limit` (and the canvas), with `color`. Returns the bounding rectangle of the
// pixels it changed (empty when none, as when the seed lies outside or has that colour).
paint_rect flood_fill(vollo_pixelarray *canvas, vollo_position seed, uint32_t color,
                      paint_rect limit);

// Run-length code of words: runs of one value as (n, value), others as (n | 1 << 31, n words).
std::vector<uint32_t> history_encode(const uint32_t *words, size_t count);
// Writes out the words of a run-length code into `words`, whose size says how many there
// are; words the code does not reach are left as they are. A damaged code (a count past
// its end) never reads or writes outside either vector.
void history_decode(const std::vector<uint32_t> &code, std::vector<uint32_t> &words);
// Keeps the pixels of `area` as they are before the open action (opened here) changes
// them, without counting `area` in the action's area. False when memory ran out.
bool history_reserve(paint_history *history, const vollo_pixelarray *canvas, paint_rect area);
// Before the open action (opened here) changes any pixel of `area`: keeps the pixels of
// `area` as they are and counts it in the action's area. False when memory ran out: the
// history is then emptied and the rest of the action is not recorded.
bool history_cover(paint_history *history, const vollo_pixelarray *canvas, paint_rect area);
// Ends the open action and keeps it as the newest step (after the steps that were undone
// are dropped), dropping the oldest steps while the history would exceed its limit. True
// when an action was open.
bool history_commit(paint_history *history, const vollo_pixelarray *canvas);
// After a change that is no action (the size bar) painted `area`: the steps made so far no
// longer undo or redo anything there, so that what it painted stays and no step turns it
// into something that was never drawn. Costs the area, not the length of the history.
void history_forget(paint_history *history, paint_rect area);
// The open action's difference so far (its touched pixels now XOR before it), coded as a
// step's; false when no action is open, it touched nothing or its record was lost.
bool history_open_code(paint_history *history, const vollo_pixelarray *canvas, paint_rect *area,
                       std::vector<uint32_t> *code);
// Undoes the newest step not undone (true), or does nothing (false).
bool history_undo(paint_history *history, vollo_pixelarray *canvas);
// Redoes the oldest undone step (true), or does nothing (false).
bool history_redo(paint_history *history, vollo_pixelarray *canvas);
// Keeps a reshape step (history_step.reshape) as the newest step, as history_commit keeps
// an action; false when memory ran out (the history is then emptied).
bool history_push_reshape(paint_history *history, history_step &&step);
// Ends the open drawing action, counts it in `changes` and presents it.
void finish_action(paint_state *state);
// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo (on the press); true when the canvas changed.
bool history_key(paint_state *state, vollo_event_state event, int32_t key);

// ---------------------------------------------------------------------------
// Documents: pictures of another size than the window, shown through a view in the
// drawing area and edited in their own pixels
// ---------------------------------------------------------------------------

// The drawing area as drawn, where the view shows.
#define VIEW_LEFT (PAINT_LAYOUT.drawing_area.drawn.x0)
#define VIEW_TOP (PAINT_LAYOUT.drawing_area.drawn.y0)
#define VIEW_WIDTH (PAINT_LAYOUT.drawing_area.drawn.x1 - VIEW_LEFT + 1)
#define VIEW_HEIGHT (PAINT_LAYOUT.drawing_area.drawn.y1 - VIEW_TOP + 1)
#define VIEW_BACKDROP 0xFF5A5A5Au  // around the picture: a plain grey, not white
#define VIEW_LEAST_ZOOM (1.0 / 16)
#define VIEW_MOST_ZOOM 32.0
#define VIEW_SCROLL_STEP 64        // screen pixels per arrow key or wheel notch
#define PAINT_MIDDLE_BUTTON 2
#define PAINT_KEY_NUM0 26
#define PAINT_KEY_NUM1 27
#define PAINT_KEY_EQUAL 55
#define PAINT_KEY_DASH 56
#define PAINT_KEY_HOME 64
#define PAINT_KEY_ADD 67
#define PAINT_KEY_SUBTRACT 68
#define PAINT_KEY_LEFT 71          // Left, Right, Up, Down follow
#define PAINT_KEY_NUMPAD0 75
#define PAINT_KEY_NUMPAD1 76

// Where a picture of width x height lies on screen: `zoom` screen pixels per picture
// pixel, its top-left corner at (VIEW_LEFT + left, VIEW_TOP + top).
typedef struct paint_view
{
    uint32_t width = 0, height = 0;
    double zoom = 1;
    int64_t left = 0, top = 0;
} paint_view;

// The largest zoom not above 1 at which the whole picture fits in the area.
double view_fit(const paint_view *view);
// Opens at fit, centred.
void view_reset(paint_view *view, uint32_t width, uint32_t height);
// Keeps the picture centred along an axis where it fits, and otherwise covering the area.
void view_clamp(paint_view *view);
// Changes the zoom keeping the picture point under `anchor` (screen) where it is.
void view_zoom(paint_view *view, double zoom, vollo_position anchor);
// The zoom one power of two in (direction 1) or out (-1) from the view's, kept within
// 1/16 (or the fit when smaller) and 32.
double view_step(const paint_view *view, int32_t direction);
// Moves the picture by (dx, dy) screen pixels, stopping at its edges.
void view_scroll(paint_view *view, int64_t dx, int64_t dy);
// The picture's top-left corner at the area's top-left corner (centred where it fits).
void view_home(paint_view *view);
// The picture pixel under a screen position; false outside the area or the picture.
bool view_picture_point(const paint_view *view, vollo_position screen, vollo_position *point);

// One level of the picture halved `level` times, each pixel the average of those it covers.
typedef struct paint_mip
{
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
} paint_mip;

// Kinds of picture file, told by their first bytes.
typedef enum picture_kind
{
    KIND_BMP,
    KIND_PNG,
    KIND_JPEG,
    KIND_TGA,
    KIND_GIF,
    KIND_PSD,
    KIND_HDR,
    KIND_PIC
} picture_kind;

// A picture opened from the command line that is not a window-sized canvas.
typedef struct paint_document
{
    char *path = nullptr;               // where Ctrl+S writes (malloc)
    picture_kind kind = KIND_PNG;       // of the file it came from
    vollo_pixelarray *picture = nullptr;  // its pixels (malloc), never uploaded whole
    std::vector<paint_mip> mips;        // halved once, twice, ... while larger than the area
    paint_view view;
    paint_rect changed = PAINT_NO_RECT;  // picture pixels changed since the mips were made
    int32_t stale = 1;                  // 1 when the view must be drawn again
    int32_t dragging = 0;               // 1 while the middle button moves the picture
    vollo_position grab = {0, 0};       // pointer at the last move of that drag
} paint_document;

// The kind of a picture file from its first bytes (TGA when none other matches).
picture_kind picture_kind_of(const char *path);
// Makes the levels of the pyramid from the picture.
bool mips_build(paint_document *document);
// Makes the levels over `area` of the picture (picture pixels) again.
void mips_update(paint_document *document, paint_rect area);
// Draws the view of the picture into the drawing area of the canvas.
void view_render(const paint_document *document, vollo_pixelarray *canvas);
// Takes the decoded pixels (malloc) of the picture at `path` as a document, at fit; the
// window canvas is the blank start's. False when memory runs out (the pixels released).
bool document_open(paint_state *state, uint32_t *pixels, uint32_t width, uint32_t height,
                   const char *path);
// Crop to the selection, rotation by 90 degrees clockwise, mirror left to right, or top
// to bottom, of a document's picture.
typedef enum paint_transform
{
    TRANSFORM_CROP,
    TRANSFORM_ROTATE,
    TRANSFORM_FLIP_HORIZONTAL,
    TRANSFORM_FLIP_VERTICAL
} paint_transform;
// Applies the transform to the document's picture as one undoable action, journalled; the
// view opens again at fit. False (nothing changes) without a document, for a crop without a
// selection, or when memory runs out (said on standard error).
bool document_transform(paint_state *state, paint_transform transform);
// Gives the document's picture the width x height pixels of a run-length code (undo and
// redo of a reshape step); false when memory runs out.
bool document_replace(paint_state *state, const std::vector<uint32_t> &code, uint32_t width,
                      uint32_t height);
// Ctrl+Shift+X crops, Ctrl+Shift+R rotates, Ctrl+Shift+H and Ctrl+Shift+V flip (on the
// press); true when the key was one of them.
bool transform_key(paint_state *state, vollo_event_state event, int32_t key);
// Releases the document and all it owns.
void document_close(paint_state *state);
// Ctrl+S for a document: the picture back to its file in its format, or NAME.png beside
// a file of a kind not written; says where on standard error. True when saved.
bool document_save(paint_state *state);
// Pixels of the picture changed in `area` (picture pixels): shown at the next tick.
void document_touch(paint_state *state, paint_rect area);
// Renders the view when it changed; true when the canvas was redrawn.
bool document_refresh(paint_state *state);
// The pixel array the tools draw into and the saves write: the picture, or the canvas.
vollo_pixelarray *drawing_of(const paint_state *state);
// The view's keys (Ctrl+0, Ctrl+1, Ctrl+plus/minus, arrows, Home); true when handled.
bool view_key(paint_state *state, vollo_event_state event, int32_t key);
// Wheel: scrolls, Shift+wheel sideways, Ctrl+wheel zooms about the pointer. Returns 3.
vollo_response set_wheel_response(int32_t wheel, int32_t delta, void *data);
// Middle button: starts or ends moving the picture with the pointer; true when handled.
bool view_button(paint_state *state, vollo_event_state event, int32_t button,
                 vollo_position position);
// Pointer moves during a middle-button drag; true when handled.
bool view_drag(paint_state *state, vollo_position position);

// ---------------------------------------------------------------------------
// Journal: every change of the canvas on disk within a second, so that a session that
// dies (SIGKILL, a crash, a power cut) can be rebuilt at the next start
// ---------------------------------------------------------------------------

#define JOURNAL_PREFIX ".pixodraw-journal-"  // then PID-SECONDS, in a recovery folder
#define JOURNAL_SYNC_SECONDS 1.0             // the file is synced at most this often
#define JOURNAL_OPEN_SECONDS 0.5             // an action under way is written this often

// Records after the journal's header. Every one holds a rectangle of the pixel array
// and a run-length code (history_encode) of one word per pixel of it, row after row.
typedef enum journal_kind
{
    JOURNAL_DIFFERENCE = 1,  // XOR-ed into the pixels: a finished action, an undo, a redo
    JOURNAL_PIXELS = 2,      // the pixels themselves: changes that are no action
    JOURNAL_OPEN = 3,        // the action under way so far, XOR-ed into the pixels as they
                             // were before it; replaced by the next record of any kind
    JOURNAL_RESHAPE = 4      // the pixel array takes the rectangle's size (from (0, 0)) and
                             // the code's pixels: a crop, a rotation or a flip, or its undo
} journal_kind;

// What the journal's pixel array starts from.
typedef struct journal_base
{
    std::string picture;          // the picture file loaded whole; empty: the first
                                  // record holds every pixel (a blank start, a save)
    uint64_t size = 0;            // that file's bytes and modification time, to be sure
    int64_t mtime_seconds = 0;    // it is still the same picture
    int64_t mtime_nanoseconds = 0;
    uint32_t width = 0, height = 0;  // the pixel array's
} journal_base;

// A session's journal, open and locked (flock) for as long as the session runs.
typedef struct paint_journal
{
    int fd = -1;
    std::string path;
    journal_base base;
    double synced_at = 0;          // seconds (journal_now) of the last sync
    double open_at = 0;            // and of the last look at the action under way
    int32_t unsynced = 0;          // 1 when written since the last sync
    int32_t failed = 0;            // 1 once a write failed: nothing more is written
    paint_rect open_area = PAINT_NO_RECT;  // the last JOURNAL_OPEN record written, until
    std::vector<uint32_t> open_code;       // the next record of another kind
    std::vector<uint32_t> record;          // room for the record being written
    uint64_t covers_seen = 0;      // the history's `covers` at the last look
} paint_journal;

// Creates the journal of the pixel array in the first recovery folder that takes it,
// named JOURNAL_PREFIX PID-SECONDS, and locks it: `picture` names the file the array was
// loaded from (its size and time are kept), null when the array is written whole as the
// first record. Null, after one warning on standard error, when no folder takes it.
paint_journal *journal_start(const vollo_pixelarray *canvas, const char *picture);
// Appends one record; false (and no more records) when the write fails.
bool journal_write(paint_journal *journal, journal_kind kind, paint_rect area,
                   const std::vector<uint32_t> &code);
// Starts the journal again from the canvas as it is (a record of every pixel), as after
// a save; the same file.
void journal_restart(paint_journal *journal, const vollo_pixelarray *canvas);
// Closes the journal, removing its file when `remove`, and releases it (null is fine).
void journal_end(paint_journal *journal, bool remove);
// After finish_action committed an action: its step, or the whole canvas when the
// history could not keep it.
void journal_action(paint_state *state);
// After an undo or a redo: what it changed.
void journal_undo_redo(paint_state *state);
// After a change that is no action painted `area` of the canvas: its pixels.
void journal_pixels(paint_state *state, paint_rect area);
// Each tick: the action under way every JOURNAL_OPEN_SECONDS, and a sync at most every
// JOURNAL_SYNC_SECONDS when something was written. `now` in seconds (journal_now).
void journal_tick(paint_state *state, double now);
// Seconds of a monotonic clock.
double journal_now(void);
// Reads a journal: its base, and the pixels rebuilt from it (the picture of the base
// loaded, then every whole record applied; a record cut short or damaged ends it, with
// the records before it kept). *changes receives the records beyond the base. False,
// with *reason telling why, when nothing can be rebuilt.
bool journal_rebuild(const char *path, journal_base *base, std::vector<uint32_t> *pixels,
                     size_t *changes, std::string *reason);
// At the start: every journal in the recovery folders whose session no longer runs
// (its lock is free) is rebuilt, kept in a numbered recovery file named on standard
// error, and removed. A journal with no change, or cut before its first whole pixels,
// is removed silently; one whose picture is gone or changed, or whose drawing cannot be
// kept, stays, and standard error says why. The count of drawings kept.
int recover_journals(void);

#endif
