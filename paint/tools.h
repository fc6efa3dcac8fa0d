// PIXODRAW's tools as a table. A tool is one record of what it does at each
// moment of a gesture (press, drag, release, key, typed character) and of the
// preview it draws over the picture on screen, never into it. The click, move,
// key and text responses dispatch to the chosen tool's record; the tool panel,
// the indicator and the --help text are made from the same table.
//
// Adding a tool: one file paint/tool_NAME.cpp defining `const paint_tool_entry
// NAME_TOOL`, a value in `paint_tool` (paint.h) and one line in
// PAINT_TOOL_TABLE (tool_table.cpp).
//
// How a tool works with the rest of the program:
// - Points reach it as a tool_point: `picture` is the pixel of the drawing
// under the pointer
//   (the canvas pixel on a blank start, the picture pixel on a document,
//   wherever it lies), `on_drawing` says whether that pixel may be painted;
//   `screen` is for the old tools only.
// - It paints through tool_commit_overlay (or history_cover, its own writes,
// document_touch
//   and finish_action): one undoable action, journalled as soon as it lands.
//   Nothing it shows while the gesture is live touches the drawing: it goes in
//   `preview`.
// - Its preview draws into `frame`, a copy of the canvas made for this present;
// tool_show
//   maps picture pixels to the screen through the view. Call
//   tool_preview_changed after changing what the preview shows.
// - While it is chosen, its `key` sees every key event first (Ctrl+C, Delete,
// Enter,
//   Escape...) and returns true for the ones it uses, which then reach nothing
//   else; its `text` sees every typed character. Plain letters choose tools
//   only when `key` let them pass.
// - `leave` runs before another tool is chosen (and at the end of the run):
// commit or drop
//   what is under way there.
// - Any function may be null: the tool does nothing at that moment.
#ifndef PAINT_TOOLS_H
#define PAINT_TOOLS_H

#include <cstdint>
#include <string>
#include <vector>

#include "layout.h"
#include "vollo.h"

enum paint_tool : int32_t;
struct paint_state;

// Where the pointer is, for a tool.
typedef struct tool_point
{
    vollo_position screen;  // canvas pixel under the pointer
    vollo_position picture; // pixel of the drawing under it (may lie outside the drawing)
    bool on_drawing;        // a press there may paint: in the drawing area, on the
                            // picture
} tool_point;

// Pixels a tool would paint: `area` of the drawing, one colour per pixel, row
// after row, and whether each is painted at all.
typedef struct paint_overlay
{
    paint_rect area = PAINT_NO_RECT;
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> painted;
} paint_overlay;

typedef struct paint_tool_entry
{
    paint_tool tool;
    char letter;      // its key, a plain letter with no modifier
    const char *name; // in the indicator, --help and the README
    const char *help; // what it does, for --help
    paint_rect cell;  // its cell: a panel cell, or its button in the tool band
    // Draws the icon into the panel cell; null for the tools whose button is in
    // the band.
    void (*icon)(vollo_pixelarray *canvas, paint_rect cell);
    // Chosen by its key or cell; `again` when it already was (outline/filled
    // switch).
    void (*choose)(paint_state *state, bool again);
    void (*leave)(paint_state *state);
    void (*press)(paint_state *state, tool_point point); // left button down
    void (*drag)(paint_state *state,
                 tool_point point);                        // pointer moves, any button
    void (*release)(paint_state *state, tool_point point); // left button up
    void (*cancel)(paint_state *state);                    // right button down
    bool (*key)(paint_state *state, vollo_event_state event, int32_t key);
    bool (*text)(paint_state *state, uint32_t character);
    void (*preview)(const paint_state *state, vollo_pixelarray *frame);
    // The indicator's name when it depends on the state ("filled rectangle");
    // null: `name`.
    const char *(*label)(const paint_state *state);
    // Shapes only (their press, drag, release, cancel, key and preview are the
    // shape_* functions): what the shape from `from` to `to` paints, Shift held
    // or not.
    void (*shape)(const paint_state *state, paint_overlay *overlay, vollo_position from,
                  vollo_position to, bool shift);
} paint_tool_entry;

// What the tools keep during a run (a member of paint_state).
typedef struct tool_run
{
    int32_t previous = 0;         // the tool before the picker (a paint_tool)
    int32_t filled_rectangle = 0; // 1: R paints filled, 0: outlines
    int32_t filled_ellipse = 0;
    int32_t dragging = 0;              // 1 while a shape follows the pointer
    vollo_position from = {0, 0};      // where the shape's press was (drawing pixels)
    vollo_position to = {0, 0};        // and where the pointer is now
    int32_t typing = 0;                // 1 while text is being typed
    vollo_position caret = {0, 0};     // where the text starts (drawing pixels)
    std::string text;                  // UTF-8, '\n' between lines
    int32_t field_open = 0;            // 1 while the colour field takes keys
    std::string field;                 // what is typed in it, '#' included
    paint_overlay overlay;             // what the live shape or text would paint
    int32_t previewing = 0;            // 1 while the overlay is to be shown
    vollo_pixelarray *frame = nullptr; // the canvas with the preview over it (presents)
    bool pressed = false;              // the current tool took the left press: only
                                       // then does the release reach it
    vollo_font *font = nullptr;        // the text tool's, loaded when first needed
    int32_t font_tried = 0;
    std::string warning;               // what a tool could not do as meant, for
                                       // tool_report to print
    int32_t selecting = 0;             // 1 while a drag draws the selection
    int32_t moving = 0;                // 1 while a drag moves the floating pixels
    int32_t moved = 0;                 // 1 once they moved during that drag
    vollo_position grab = {0, 0};      // the pointer less the floating pixels' corner
    paint_overlay floating;            // pixels lifted or pasted, not yet in the drawing
    paint_rect lifted = PAINT_NO_RECT; // where lifted pixels came from (white once moved)
} tool_run;

// The entries of the stroke tools (square, circle, eraser, fill): the gesture goes to
// the stroke as it always did.
void stroke_tool_press(paint_state *state, tool_point point);
void stroke_tool_drag(paint_state *state, tool_point point);
void stroke_tool_release(paint_state *state, tool_point point);

#define PAINT_PANEL (paint_rect{0, 200, 209, 727}) // the tool panel, left of the drawing
// Panel cells: two columns, rows from the top; (0, 3) is the selection's.
#define PANEL_CELL(column, row)                                                                    \
    (paint_rect{4 + 102 * (column), 206 + 86 * (row), 4 + 102 * (column) + 97,                     \
                206 + 86 * (row) + 79})
#define TOOL_SIZE_STEP_KEYS 5 // `[` and `]` change the size by this, as minus and plus

// The table, in the order of the panel and of --help.
extern const paint_tool_entry *const PAINT_TOOL_TABLE[];
extern const size_t PAINT_TOOL_COUNT;

// The entry of a tool; null for TOOL_NONE and unknown values.
const paint_tool_entry *tool_entry(int32_t tool);
// The entry whose letter the key code is (SFML codes: A is 0); null for none.
const paint_tool_entry *tool_by_key(int32_t key);
// Makes `tool` the current tool (leaving the one before), marks its cell,
// redraws the indicator; choosing the current tool again runs its choose with
// `again`.
void tool_choose(paint_state *state, int32_t tool);
// The tool point of a canvas position.
tool_point tool_point_at(const paint_state *state, vollo_position screen);
// Before the click chain: a left press on a tool's cell (panel or band) chooses
// it, a right press cancels the current tool's gesture. True when a panel cell
// took the press.
bool tool_click(paint_state *state, vollo_event_state event, int32_t button, vollo_position screen);
// From the click chain: the left press and release reach the current tool.
void tool_press(paint_state *state, vollo_position screen);
void tool_release(paint_state *state, vollo_position screen);
// Pointer moves reach the current tool's drag.
void tool_move(paint_state *state, vollo_position screen);
// Key events: the colour field first, then the current tool's key, then tool
// letters and
// `[` `]`; true when used there.
bool tool_key(paint_state *state, vollo_event_state event, int32_t key);
// Typed characters: the colour field, else the current tool; returns 3.
vollo_response tool_text_response(uint32_t character, void *data);
// The indicator's swatch, where a click opens the colour field.
paint_rect indicator_swatch(void);
// A left press on the swatch opens the colour field ("#"); true when it did.
bool colour_field_click(paint_state *state, vollo_event_state event, int32_t button,
                        vollo_position position);
// While the field is open it takes every key: Enter sets a "#RRGGBB" colour and
// closes it, Escape closes it, Backspace deletes; true while open.
bool colour_field_key(paint_state *state, vollo_event_state event, int32_t key);
// Hex digits typed into the open field (7 characters at most); true while open.
bool colour_field_text(paint_state *state, uint32_t character);
// Draws the panel: every table tool with an icon in its cell, the current one
// marked.
void draw_tool_panel(paint_state *state);
// The --help lines of the tool keys, made from the table.
std::string tool_help(void);
// The indicator's name of the current tool ("no tool" for none).
const char *tool_label(const paint_state *state);
// Ctrl+V: the clipboard's picture floats at the view's top-left corner, the
// selection tool chosen to move it; false (said on standard error) when there is none.
bool paste_clipboard(paint_state *state);
// Lands the floating pixels (leaving white where lifted ones came from) as one
// action; nothing when none float.
void selection_commit(paint_state *state);
// Ends the run's tools: the current one leaves, the frame and font are
// released.
void tools_end(paint_state *state);
// Prints, on standard error, what a tool left in run.warning, then forgets it.
void tool_report(paint_state *state);

// The selection's dashed outline over `frame`, where it lies on screen; nothing
// without a selection.
void selection_outline(const paint_state *state, vollo_pixelarray *frame);
// Presents: the canvas itself, or the frame with the current tool's preview
// (and the selection's outline, whatever the tool) over it.
vollo_pixelarray *tool_frame(paint_state *state);
// The preview changed: present it.
void tool_preview_changed(paint_state *state);
// Shows the overlay on the frame where the view shows its pixels (clipped to
// the area).
void tool_show(const paint_state *state, const paint_overlay *overlay, vollo_pixelarray *frame);
// Paints the overlay into the drawing, cut to where tools may paint, as one
// action.
void tool_commit_overlay(paint_state *state, const paint_overlay *overlay);
// Where the tools may paint: the drawing area on a blank start, the picture on
// a document.
paint_rect tool_limit(const paint_state *state);
// Makes the overlay `area` with nothing painted.
void overlay_reset(paint_overlay *overlay, paint_rect area);
// Paints columns x0..x1 of row y of the overlay (cut to its area).
void overlay_span(paint_overlay *overlay, int32_t x0, int32_t x1, int32_t y, uint32_t color);

// Shapes: a press in the drawing area fixes one end or corner, the drag shows
// the shape live, the release paints it as one action, a right press cancels
// it; Shift (also pressed or released during the drag) constrains it.
void shape_press(paint_state *state, tool_point point);
void shape_drag(paint_state *state, tool_point point);
void shape_release(paint_state *state, tool_point point);
void shape_cancel(paint_state *state);
bool shape_key(paint_state *state, vollo_event_state event, int32_t key);
void shape_preview(const paint_state *state, vollo_pixelarray *frame);
// Outline and line thickness: the size, at least 1 pixel.
int32_t shape_thickness(const paint_state *state);
// `to` moved so that from-to is a multiple of 45 degrees (`diagonal_only`: a
// diagonal, for squares and circles).
vollo_position shape_constrain(vollo_position from, vollo_position to, bool diagonal_only);
// Each paints its shape into the overlay (made to the shape's bounds, cut to
// `limit`).
void shape_line(paint_overlay *overlay, vollo_position from, vollo_position to, int32_t thickness,
                uint32_t color, paint_rect limit);
void shape_arrow(paint_overlay *overlay, vollo_position from, vollo_position to, int32_t thickness,
                 uint32_t color, paint_rect limit);
void shape_rectangle(paint_overlay *overlay, vollo_position from, vollo_position to,
                     int32_t thickness, bool filled, uint32_t color, paint_rect limit);
void shape_ellipse(paint_overlay *overlay, vollo_position from, vollo_position to,
                   int32_t thickness, bool filled, uint32_t color, paint_rect limit);
// Copies the painted pixels of the overlay onto the canvas (icons).
void overlay_draw(const paint_overlay *overlay, vollo_pixelarray *canvas);

// One click of the plus (direction 1) or minus (-1) button: the size and the
// size bar; what `[`, `]` and the wheel over the buttons do.
void size_step(paint_state *state, int32_t direction);

#endif
