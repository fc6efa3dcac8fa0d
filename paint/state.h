// PIXODRAW: the state record of a run, the tools' settings and the stroke.
#ifndef PAINT_STATE_H
#define PAINT_STATE_H

#include <cstdint>
#include <string>
#include <vector>

#include "history.h"
#include "layout.h"
#include "tools.h"
#include "vollo.h"

// The tools, numbered as they always were.
typedef enum paint_tool : int32_t
{
    TOOL_NONE = 0,    // before the first choice: clicks in the drawing area do nothing
    TOOL_SQUARE = 1,  // square brush: a square of the colour, top-left at the point
    TOOL_CIRCLE = 2,  // a filled disc of the colour, centred on the point
    TOOL_ERASER = 3,  // a white square
    TOOL_FILL = 4,    // fills the region of one colour around the point
    TOOL_LINE = 5,    // the panel's tools (tools.h)
    TOOL_ARROW = 6,
    TOOL_RECTANGLE = 7,
    TOOL_ELLIPSE = 8,
    TOOL_TEXT = 9,
    TOOL_PICKER = 10,
    TOOL_SELECT = 11
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

#define PAINT_STEP 5             // pixels per size step
#define PAINT_MAX_LEVEL 30       // size steps: 0 to 30, so sizes 0 to 150

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
struct paint_export;
struct paint_loading;

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
    tool_run run{};                    // what the tools keep (tools.h)
    const char *canvas_file = nullptr; // a window-sized BMP or PNG opened as the canvas:
                                       // Ctrl+S writes back there, in its format
    bool canvas_file_png = false;      // canvas_file is a PNG file
    paint_rect selection = PAINT_NO_RECT;  // selected pixels of the drawing, if any
    paint_export *exporting = nullptr; // a Ctrl+E under way (terminal.h)
    paint_loading *loading = nullptr;  // the whole picture being decoded (document.h)
    uint32_t *loading_preview = nullptr;  // its copy at fit until shown (malloc)
    uint32_t loading_width = 0, loading_height = 0;
    std::string loading_error = {};    // why the whole picture could not be opened
} paint_state;

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

// What a fill changed: the runs of pixels it painted, and their colours before.
typedef struct fill_span
{
    int32_t y, x0, x1;  // row y, columns x0 .. x1
} fill_span;

typedef struct fill_record
{
    std::vector<fill_span> spans;  // no pixel in two of them
    std::vector<uint32_t> old;     // span after span, the pixels before; empty when they
    uint32_t target = 0;           // all had `target`, the seed's colour
} fill_record;

#define FILL_WIDEST_TOLERANCE 150
// Fills the 4-connected region of the pixels that have exactly the colour of `seed` (with
// a tolerance above 0: whose red, green and blue each differ from it by at most
// tolerance * 255 / 150), within `limit` (and the canvas), with `color`. Returns the bounding rectangle of the
// pixels it changed (empty when none, as when the seed lies outside or has that colour).
// When `record` is not null it receives what the fill changed.
paint_rect flood_fill(vollo_pixelarray *canvas, vollo_position seed, uint32_t color,
                      paint_rect limit, int32_t tolerance = 0, fill_record *record = nullptr);
// The difference a fill made over `area` (which holds its spans), coded as a history
// step's: the old pixels XOR `color` in its spans, 0 elsewhere.
std::vector<uint32_t> fill_code(fill_record *record, paint_rect area, uint32_t color);

#endif
