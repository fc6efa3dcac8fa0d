// PIXODRAW: documents, pictures of another size than the window, shown through a view in
// the drawing area and edited in their own pixels.
#ifndef PAINT_DOCUMENT_H
#define PAINT_DOCUMENT_H

#include <cstdint>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "layout.h"
#include "state.h"
#include "vollo.h"

// The drawing area as drawn, where the view shows.
#define VIEW_LEFT (PAINT_LAYOUT.drawing_area.drawn.x0)
#define VIEW_TOP (PAINT_LAYOUT.drawing_area.drawn.y0)
#define VIEW_WIDTH (PAINT_LAYOUT.drawing_area.drawn.x1 - VIEW_LEFT + 1)
#define VIEW_HEIGHT (PAINT_LAYOUT.drawing_area.drawn.y1 - VIEW_TOP + 1)
#define VIEW_BACKDROP 0xFF5A5A5Au  // around the picture: a plain grey, not white
#define VIEW_LEAST_ZOOM (1.0 / 16)
#define VIEW_MOST_ZOOM 32.0
#define VIEW_SCROLL_STEP 64        // screen pixels per arrow key or wheel notch

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
// The picture point under a screen position, wherever it lies (kept within 10^9 of the
// picture's corner).
vollo_position view_screen_to_picture(const paint_view *view, vollo_position screen);
// The picture pixel under a screen position; false outside the area or the picture.
bool view_picture_point(const paint_view *view, vollo_position screen, vollo_position *point);

// One level of the picture halved `level` times, each pixel the average of those it covers.
typedef struct paint_mip
{
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
} paint_mip;

// Kinds of picture file, as the library's decoder tells them by their first bytes.
typedef enum picture_kind
{
    KIND_BMP = VOLLO_KIND_BMP,
    KIND_PNG = VOLLO_KIND_PNG,
    KIND_JPEG = VOLLO_KIND_JPEG,
    KIND_TGA = VOLLO_KIND_TGA,
    KIND_GIF = VOLLO_KIND_GIF,
    KIND_PSD = VOLLO_KIND_PSD,
    KIND_HDR = VOLLO_KIND_HDR,
    KIND_PIC = VOLLO_KIND_PIC
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
    int32_t stale = 1;                  // 1 when the whole view must be drawn again
    int32_t dragging = 0;               // 1 while the middle button moves the picture
    vollo_position grab = {0, 0};       // pointer at the last move of that drag
    struct stat known = {};             // the file as it was opened or last saved, to
                                        // tell when another program replaced it
} paint_document;

// Makes the levels of the pyramid from the picture.
bool mips_build(paint_document *document);
// Makes the levels over `area` of the picture (picture pixels) again.
void mips_update(paint_document *document, paint_rect area);
// Draws the view of the picture into the drawing area of the canvas, within `screen`
// (canvas pixels; by default the whole area).
void view_render(const paint_document *document, vollo_pixelarray *canvas,
                 paint_rect screen = PAINT_LAYOUT.drawing_area.drawn);
// The screen rectangle (within the drawing area) whose view pixels depend on the picture
// pixels of `area`; empty when none.
paint_rect view_screen_area(const paint_document *document, paint_rect area);
// Takes the decoded pixels (malloc) of the picture at `path`, a file of that kind, as a
// document, at fit; the window canvas is the blank start's. False when memory runs out
// (the pixels released).
bool document_open(paint_state *state, uint32_t *pixels, uint32_t width, uint32_t height,
                   const char *path, picture_kind kind);
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
// Ctrl+A, Ctrl+C, Ctrl+X and Delete (on the press): select everything, copy the selection
// (without one, everything) to the system clipboard, cut it, clear it to white; true when
// the key was one of them.
bool selection_key(paint_state *state, vollo_event_state event, int32_t key);
// A large JPEG at `path`, its file's `size` bytes already read: takes the bytes (malloc)
// and starts decoding a copy at fit from them on a thread, for show_picture_preview; the
// whole picture is decoded from the same bytes later. False (nothing taken, nothing
// started) for any other file, which is then decoded at once.
bool open_picture_later(paint_state *state, const char *path, uint8_t *bytes, uint64_t size);
// Paints the copy at fit (once decoded) into the drawing area of the blank start's
// canvas and starts decoding the whole picture on a worker thread.
void show_picture_preview(paint_state *state);
// Once the whole picture is decoded (or, when `wait`, after waiting for it): opens it as
// the document and starts its journal. True while it loads or once it opened; false when
// it could not (state->loading_error tells why).
bool picture_ready(paint_state *state, bool wait);
// Gives up a picture being opened in two steps (the start-up failed), its worker joined.
void picture_drop(paint_state *state);
// Releases the document and all it owns.
void document_close(paint_state *state);
// Ctrl+S for a document: the picture back to its file in its format, or NAME.png beside
// a file of a kind not written. *path receives the file written (or tried), *note why it
// is not the picture's own, or where the version another program left there was kept
// first (empty when neither). True when saved; false with errno telling why.
bool document_save(paint_state *state, std::string *path, std::string *note);
// Pixels of the picture changed in `area` (picture pixels): shown at the next tick.
void document_touch(paint_state *state, paint_rect area);
// Renders the view when it changed, or only the screen under the pixels changed since
// the last refresh; true when the canvas was redrawn.
bool document_refresh(paint_state *state);
// The pixel array the tools draw into and the saves write: the picture, or the canvas.
vollo_pixelarray *drawing_of(const paint_state *state);
// The view's keys (Ctrl+0, Ctrl+1, Ctrl+plus/minus, arrows, Home); true when handled.
bool view_key(paint_state *state, vollo_event_state event, int32_t key);
// Wheel: scrolls, Shift+wheel sideways, Ctrl+wheel zooms about the pointer. Returns 3.
vollo_response set_wheel_response(int32_t wheel, int32_t delta, void *data);
// The pointer where the library saw it last, clamped near the window.
vollo_position pointer_position(void);
// Middle button: starts or ends moving the picture with the pointer; true when handled.
bool view_button(paint_state *state, vollo_event_state event, int32_t button,
                 vollo_position position);
// Pointer moves during a middle-button drag; true when handled.
bool view_drag(paint_state *state, vollo_position position);

#endif
