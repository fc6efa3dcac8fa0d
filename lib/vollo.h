// vollo: a small graphics library over SFML for games and tools.
//
// One header for the whole interface, read top to bottom:
//   1. constants and shared types        8. tracked allocator
//   2. window and start-up               9. INI store (handle API)
//   3. main loop and responses          10. text
//   4. input state                      11. shapes
//   5. clipables, blit, fill, display   12. collisions
//   6. drawing primitives               13. the Vollo function-pointer namespace (last)
//   7. sound effects and music
//
// Records are plain structures that programs may read directly; functions take
// them by pointer. Colours are 32-bit values with red in bits 0-7, green in
// 8-15, blue in 16-23 and alpha in 24-31 (bytes R, G, B, A in memory).
// Creating functions return null on failure and print nothing; vollo_error says why.
//
// C and C++. The header compiles as C99 and as C++17 and includes no SFML header.
// Every function and global has C linkage, so C programs, and any language that can
// call C, link the same library (libvollo.a or libvollo.so). In C++ the window, the
// pictures and the pixel arrays derive from vollo_buffer, and pictures and pixel
// arrays from vollo_clipable, so they convert to those heads implicitly. In C each
// record begins with the very fields of its heads, in the same order, so its fields
// read the same (window->width, array->clip_x) and a cast gives the head:
//   vollo_fill((vollo_buffer *)window, VOLLO_BLACK);
//   vollo_delete_clipable((vollo_clipable *)array);
// Only C++ has vollo_blit_shader (it takes an sf::Shader), the kzr::Ini class behind
// vollo_ini, and the Vollo namespace (section 13). The SFML objects a record owns sit
// behind private pointers after its heads: include SFML's own headers to use SFML.
//
// Taken names. The globals below have the names they have always had and are part
// of the interface, so a program must not define anything else under them: memory_check,
// border0, border1 (section 8); default_scope, last_scope, erase_index, erase_scope,
// erase_field (section 9); set_max_heap_size, get_max_heap_size, get_nb_alloc,
// check_memory_state (section 8); the input state gl_callback, gl_keyboard,
// gl_button, gl_mouse, gl_joystick, gl_joy_axis, gl_joy_button (section 4) and the
// drawing hooks gl_vollo_my_blit, gl_vollo_my_fill, gl_vollo_my_set_pixel,
// gl_vollo_my_set_line, gl_vollo_my_set_polygon, gl_vollo_my_clear (section 5); and
// every name that starts with vollo_ or VOLLO_.
#ifndef VOLLO_H
#define VOLLO_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
// The SFML and INI classes the C++ interface names, declared only: nothing of
// them is needed to compile a file that includes this header.
namespace sf
{
class Shader;
class Texture;
}  // namespace sf
namespace kzr
{
class Ini;
}  // namespace kzr
extern "C" {
#endif

// ---------------------------------------------------------------------------
// 1. Constants and shared types
// ---------------------------------------------------------------------------

// Result of every response, of the main function and of vollo_loop.
typedef int32_t vollo_response;
// The one response value with a meaning: keep the loop going.
#define VOLLO_CONTINUE 3

// First argument of key, click and joystick responses.
typedef enum vollo_event_state
{
    VOLLO_PRESSED = 0,      // key or button went down
    VOLLO_RELEASED = 1,     // key or button went up
    VOLLO_CONNECTED = 0,    // joystick arrived
    VOLLO_DISCONNECTED = 1, // joystick left
    VOLLO_GAINED = 0,       // the window gained the keyboard focus
    VOLLO_LOST = 1,         // the window lost the keyboard focus
    VOLLO_ENTERED = 0,      // the mouse pointer entered the window
    VOLLO_LEFT = 1          // the mouse pointer left the window
} vollo_event_state;

// Kinds of buffer, stored in the `type` field of every buffer record.
#define VOLLO_WINDOW 0
#define VOLLO_PICTURE 1
#define VOLLO_PIXELARRAY 2

// Sizes of the input-state arrays.
#define VOLLO_KEY_COUNT 101
#define VOLLO_MOUSE_BUTTON_COUNT 5
#define VOLLO_JOYSTICK_COUNT 8
#define VOLLO_JOYSTICK_BUTTON_COUNT 32
#define VOLLO_JOYSTICK_AXIS_COUNT 8

// Key codes: the `key` of the key response and the indexes of vollo_get_keyboard
// (the numbering of sf::Keyboard::Key). A key SFML does not identify arrives at the
// key response as VOLLO_KEY_UNKNOWN (-1) and leaves the keyboard state untouched.
#define VOLLO_KEY_UNKNOWN (-1)
#define VOLLO_KEY_A 0
#define VOLLO_KEY_B 1
#define VOLLO_KEY_C 2
#define VOLLO_KEY_D 3
#define VOLLO_KEY_E 4
#define VOLLO_KEY_F 5
#define VOLLO_KEY_G 6
#define VOLLO_KEY_H 7
#define VOLLO_KEY_I 8
#define VOLLO_KEY_J 9
#define VOLLO_KEY_K 10
#define VOLLO_KEY_L 11
#define VOLLO_KEY_M 12
#define VOLLO_KEY_N 13
#define VOLLO_KEY_O 14
#define VOLLO_KEY_P 15
#define VOLLO_KEY_Q 16
#define VOLLO_KEY_R 17
#define VOLLO_KEY_S 18
#define VOLLO_KEY_T 19
#define VOLLO_KEY_U 20
#define VOLLO_KEY_V 21
#define VOLLO_KEY_W 22
#define VOLLO_KEY_X 23
#define VOLLO_KEY_Y 24
#define VOLLO_KEY_Z 25
#define VOLLO_KEY_0 26  // digits of the main keyboard
#define VOLLO_KEY_1 27
#define VOLLO_KEY_2 28
#define VOLLO_KEY_3 29
#define VOLLO_KEY_4 30
#define VOLLO_KEY_5 31
#define VOLLO_KEY_6 32
#define VOLLO_KEY_7 33
#define VOLLO_KEY_8 34
#define VOLLO_KEY_9 35
#define VOLLO_KEY_ESCAPE 36
#define VOLLO_KEY_LEFT_CONTROL 37
#define VOLLO_KEY_LEFT_SHIFT 38
#define VOLLO_KEY_LEFT_ALT 39
#define VOLLO_KEY_LEFT_SYSTEM 40   // the "Windows" key
#define VOLLO_KEY_RIGHT_CONTROL 41
#define VOLLO_KEY_RIGHT_SHIFT 42
#define VOLLO_KEY_RIGHT_ALT 43
#define VOLLO_KEY_RIGHT_SYSTEM 44
#define VOLLO_KEY_MENU 45
#define VOLLO_KEY_LEFT_BRACKET 46  // [
#define VOLLO_KEY_RIGHT_BRACKET 47 // ]
#define VOLLO_KEY_SEMICOLON 48
#define VOLLO_KEY_COMMA 49
#define VOLLO_KEY_PERIOD 50
#define VOLLO_KEY_QUOTE 51
#define VOLLO_KEY_SLASH 52
#define VOLLO_KEY_BACKSLASH 53
#define VOLLO_KEY_TILDE 54
#define VOLLO_KEY_EQUAL 55
#define VOLLO_KEY_HYPHEN 56
#define VOLLO_KEY_SPACE 57
#define VOLLO_KEY_ENTER 58
#define VOLLO_KEY_BACKSPACE 59
#define VOLLO_KEY_TAB 60
#define VOLLO_KEY_PAGE_UP 61
#define VOLLO_KEY_PAGE_DOWN 62
#define VOLLO_KEY_END 63
#define VOLLO_KEY_HOME 64
#define VOLLO_KEY_INSERT 65
#define VOLLO_KEY_DELETE 66
#define VOLLO_KEY_ADD 67       // + of the numeric keypad
#define VOLLO_KEY_SUBTRACT 68
#define VOLLO_KEY_MULTIPLY 69
#define VOLLO_KEY_DIVIDE 70
#define VOLLO_KEY_LEFT 71      // arrows
#define VOLLO_KEY_RIGHT 72
#define VOLLO_KEY_UP 73
#define VOLLO_KEY_DOWN 74
#define VOLLO_KEY_NUMPAD_0 75  // digits of the numeric keypad
#define VOLLO_KEY_NUMPAD_1 76
#define VOLLO_KEY_NUMPAD_2 77
#define VOLLO_KEY_NUMPAD_3 78
#define VOLLO_KEY_NUMPAD_4 79
#define VOLLO_KEY_NUMPAD_5 80
#define VOLLO_KEY_NUMPAD_6 81
#define VOLLO_KEY_NUMPAD_7 82
#define VOLLO_KEY_NUMPAD_8 83
#define VOLLO_KEY_NUMPAD_9 84
#define VOLLO_KEY_F1 85
#define VOLLO_KEY_F2 86
#define VOLLO_KEY_F3 87
#define VOLLO_KEY_F4 88
#define VOLLO_KEY_F5 89
#define VOLLO_KEY_F6 90
#define VOLLO_KEY_F7 91
#define VOLLO_KEY_F8 92
#define VOLLO_KEY_F9 93
#define VOLLO_KEY_F10 94
#define VOLLO_KEY_F11 95
#define VOLLO_KEY_F12 96
#define VOLLO_KEY_F13 97
#define VOLLO_KEY_F14 98
#define VOLLO_KEY_F15 99
#define VOLLO_KEY_PAUSE 100

// Mouse buttons: the `button` of the click response and the indexes of vollo_get_mouse_button.
#define VOLLO_MOUSE_LEFT 0
#define VOLLO_MOUSE_RIGHT 1
#define VOLLO_MOUSE_MIDDLE 2
#define VOLLO_MOUSE_EXTRA_1 3
#define VOLLO_MOUSE_EXTRA_2 4

// Colours from channels 0..255 (each taken modulo 256), and the channels of a colour.
#define VOLLO_RGBA(r, g, b, a)                                                                 \
    ((uint32_t)((uint32_t)(r) & 0xFFu) | ((uint32_t)(g) & 0xFFu) << 8 | ((uint32_t)(b) & 0xFFu) << 16 | \
     ((uint32_t)(a) & 0xFFu) << 24)
#define VOLLO_RGB(r, g, b) VOLLO_RGBA(r, g, b, 255)
#define VOLLO_RED_OF(color) ((uint32_t)(color) & 0xFFu)
#define VOLLO_GREEN_OF(color) (((uint32_t)(color) >> 8) & 0xFFu)
#define VOLLO_BLUE_OF(color) (((uint32_t)(color) >> 16) & 0xFFu)
#define VOLLO_ALPHA_OF(color) ((uint32_t)(color) >> 24)

// Named opaque colours, and the fully transparent one.
#define VOLLO_WHITE VOLLO_RGB(255, 255, 255)
#define VOLLO_BLACK VOLLO_RGB(0, 0, 0)
#define VOLLO_RED VOLLO_RGB(255, 0, 0)
#define VOLLO_GREEN VOLLO_RGB(0, 255, 0)
#define VOLLO_BLUE VOLLO_RGB(0, 0, 255)
#define VOLLO_YELLOW VOLLO_RGB(255, 255, 0)
#define VOLLO_CYAN VOLLO_RGB(0, 255, 255)
#define VOLLO_MAGENTA VOLLO_RGB(255, 0, 255)
#define VOLLO_ORANGE VOLLO_RGB(255, 165, 0)
#define VOLLO_PURPLE VOLLO_RGB(128, 0, 128)
#define VOLLO_BROWN VOLLO_RGB(139, 69, 19)
#define VOLLO_PINK VOLLO_RGB(255, 105, 180)  // the colour of a new pixel array
#define VOLLO_GRAY VOLLO_RGB(128, 128, 128)
#define VOLLO_LIGHT_GRAY VOLLO_RGB(192, 192, 192)
#define VOLLO_DARK_GRAY VOLLO_RGB(64, 64, 64)
#define VOLLO_TRANSPARENT VOLLO_RGBA(0, 0, 0, 0)

// A point in pixels: origin top-left, x to the right, y downwards.
typedef struct vollo_position
{
    int32_t x;
    int32_t y;
} vollo_position;

// The fields of the head shared by the window, pictures and pixel arrays.
#define VOLLO_BUFFER_FIELDS                                                                   \
    uint64_t type;       /* VOLLO_WINDOW, VOLLO_PICTURE or VOLLO_PIXELARRAY */                \
    void *render_target; /* sf::RenderWindow, sf::RenderTexture; unset: pixel array */     \
    uint32_t width;      /* in pixels */                                                     \
    uint32_t height;     /* in pixels */

// Slot 14 of a clipable: a pixel array's pixels, a picture's texture. C99 has no
// unnamed union, so a strict C99 compiler other than GCC or Clang sees `pixels` only.
#if defined(__cplusplus)
#define VOLLO_PIXELS_OR_TEXTURE union { uint32_t *pixels; const sf::Texture *texture; };
#elif defined(__GNUC__) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L)
#define VOLLO_PIXELS_OR_TEXTURE __extension__ union { uint32_t *pixels; const void *texture; };
#else
#define VOLLO_PIXELS_OR_TEXTURE uint32_t *pixels;
#endif

// The fields a clipable adds to the buffer head: clip rectangle and placement.
// Placement of a picture blitted onto the window or a picture (ignored for pixel
// arrays, and for any blit onto a pixel array): the origin is a point in picture
// pixels, measured from the clip rectangle's top-left corner before scaling; that
// point lands on the blit position, and scale and rotation turn around it. New
// records hold origin (0, 0), scale 1 and rotation 0: the clip rectangle's top-left
// corner lands on the position. Set the origin to (width / 2, height / 2) to place
// and turn a picture by its centre.
#define VOLLO_CLIPABLE_FIELDS                                                                 \
    int32_t clip_x;   /* clip rectangle, in the clipable's own pixels */                      \
    int32_t clip_y;                                                                           \
    int32_t clip_width;                                                                       \
    int32_t clip_height;                                                                      \
    double origin_x;  /* in picture pixels, rightwards from the clip rectangle's left edge */ \
    double origin_y;  /* in picture pixels, downwards from the clip rectangle's top edge */   \
    double scale_x;   /* 1: natural size; negative mirrors */                                 \
    double scale_y;                                                                           \
    double rotation;  /* degrees, clockwise on screen, around the origin */                   \
    /* pixels: a pixel array's width * height pixels, row by row, no padding; */              \
    /* texture: a picture's render texture's texture */                                       \
    VOLLO_PIXELS_OR_TEXTURE

// Head shared by the window, pictures and pixel arrays.
typedef struct vollo_buffer
{
    VOLLO_BUFFER_FIELDS
} vollo_buffer;

// In C++ a record derives from its head; in C it repeats the head's fields, in
// the same order, so that both languages see the same layout.

// The window record; type is VOLLO_WINDOW.
#ifdef __cplusplus
typedef struct vollo_window : vollo_buffer
{
#else
typedef struct vollo_window
{
    VOLLO_BUFFER_FIELDS
#endif
    const char *name;  // the caller's title pointer (not a copy): it must outlive the window
    // Set by vollo_set_logical_size (read only): the drawing space, 0 x 0 when none is set.
    uint32_t logical_width;
    uint32_t logical_height;
    bool whole_factors;  // the space is shown at whole-number scales where the window allows
} vollo_window;

// Head of the off-screen buffers: clip rectangle and placement.
#ifdef __cplusplus
typedef struct vollo_clipable : vollo_buffer
{
#else
typedef struct vollo_clipable
{
    VOLLO_BUFFER_FIELDS
#endif
    VOLLO_CLIPABLE_FIELDS
} vollo_clipable;

// A block of pixels in main memory (type VOLLO_PIXELARRAY). Pixel (x, y) is pixels[y * width + x].
// Plain memory: making, drawing on, saving and deleting one needs no display.
#ifdef __cplusplus
typedef struct vollo_pixelarray : vollo_clipable
{
#else
typedef struct vollo_pixelarray
{
    VOLLO_BUFFER_FIELDS VOLLO_CLIPABLE_FIELDS
#endif
    void *staging;  // private to the library: GPU staging, made at the first blit onto a window or picture
} vollo_pixelarray;

// A picture on the GPU (type VOLLO_PICTURE), drawn into through SFML.
#ifdef __cplusplus
typedef struct vollo_picture : vollo_clipable
{
#else
typedef struct vollo_picture
{
    VOLLO_BUFFER_FIELDS VOLLO_CLIPABLE_FIELDS
#endif
    void *sprite;  // private to the library: the SFML sprite that shows the texture
} vollo_picture;

// One joystick slot.
typedef struct vollo_joystick
{
    uint8_t connected;    // 1 while connected
    char *name;           // owned by the library; valid while connected
    uint32_t vendor_id;
    uint32_t product_id;
    uint32_t nb_buttons;
    uint8_t axes;         // bit j set when axis j (X, Y, Z, R, U, V, PovX, PovY) exists
} vollo_joystick;

// Response signatures; `data` is the pointer given to vollo_loop.
typedef vollo_response (*vollo_key_response)(vollo_event_state state, int32_t key, void *data);
typedef vollo_response (*vollo_text_response)(uint32_t character, void *data);
typedef vollo_response (*vollo_click_response)(vollo_event_state state, int32_t button, void *data);
typedef vollo_response (*vollo_move_response)(const vollo_position *move, void *data);
typedef vollo_response (*vollo_wheel_response)(int32_t wheel, int32_t delta, void *data);
typedef vollo_response (*vollo_joy_connect_response)(vollo_event_state state, int32_t joystick,
                                                     vollo_joystick *record, void *data);
typedef vollo_response (*vollo_joy_button_response)(vollo_event_state state, int32_t joystick,
                                                    int32_t button, void *data);
typedef vollo_response (*vollo_joy_axis_response)(int32_t joystick, int32_t axis, float position,
                                                  void *data);
typedef vollo_response (*vollo_main_function)(void *data);
typedef vollo_response (*vollo_resize_response)(uint32_t width, uint32_t height, void *data);
typedef vollo_response (*vollo_focus_response)(vollo_event_state state, void *data);
typedef vollo_response (*vollo_mouse_enter_response)(vollo_event_state state, void *data);

// The registered responses; a null field switches its dispatch off. Fields are only
// ever added at the end, so an initialiser written for fewer fields leaves the rest null.
typedef struct vollo_context
{
    vollo_key_response key_response;
    vollo_text_response text_response;
    vollo_click_response click_response;
    vollo_move_response move_response;
    vollo_wheel_response wheel_response;
    vollo_joy_connect_response joy_connect_response;
    vollo_joy_button_response joy_button_response;
    vollo_joy_axis_response joy_axis_response;
    vollo_main_function loop_main_function;
    vollo_resize_response resize_response;
    vollo_focus_response focus_response;
    vollo_mouse_enter_response mouse_enter_response;
} vollo_context;

// Errors. Every function that can fail records why: the text names what failed, the
// path where there is one, and the remedy where there is one. With VOLLO_DEBUG=1 in the
// environment each failure is also printed to standard error ("vollo: ..."), and the
// records still alive at exit (windows, pictures, pixel arrays, sounds, fonts, INI
// documents) are listed there with their size and the function that made them. A
// function that reads a file says "cannot open 'PATH': " when there is no such file,
// "cannot read 'PATH': " when there is one that cannot be opened or read (a folder, no
// permission, a read error), and its own words ("cannot load", "cannot decode") otherwise.

// The reason for the most recent failure of any vollo function on the calling thread (each
// thread has its own, like errno); "" when nothing failed there since it started or since
// vollo_clear_error. Held by the library: valid until that thread's next failure or
// vollo_clear_error. A call that succeeds leaves it as it was.
const char *vollo_error(void);
// Forgets the calling thread's recorded failure: vollo_error returns "" there until the next one.
void vollo_clear_error(void);

// Files. vollo_write_file is the one writer behind every file the library saves. The
// bytes go to an unnamed temporary file in the target's folder (a hidden
// .NAME.vollo-PID-N.tmp where the file system refuses unnamed ones; the next write in
// that folder removes those whose process is gone), which is synced, then given the
// target's name in one rename, then the folder is synced: a write stopped at any moment,
// even by kill -9, leaves the old file whole or the new one, and no partial file.
// Rules: a symbolic link keeps being a link and the file it leads to is replaced (a link
// to nothing fails, ENOENT); a replaced file keeps its permissions and, for a privileged
// process, its owner; a new file gets 0666 less the umask; a read-only file fails
// (EACCES), a folder too (EISDIR); an existing device or pipe is written in place,
// never replaced (a pipe waits for its reader). On failure: false, errno and
// vollo_error say why (path and reason), and the target is as it was.

// Makes the file at `path` hold exactly the `size` bytes at `data`, replacing it whole.
bool vollo_write_file(const char *path, const void *data, uint64_t size);
// As vollo_write_file, but never replaces anything: false with EEXIST when `path` exists.
bool vollo_write_new_file(const char *path, const void *data, uint64_t size);
// Writes all `size` bytes to `fd`, retrying short writes and EINTR; false with errno set
// (EIO when the file takes no more bytes without saying why), also on a disk that fills.
bool vollo_write_all(int fd, const void *data, uint64_t size);

// ---------------------------------------------------------------------------
// 2. Window and start-up
// ---------------------------------------------------------------------------

// Opens a window (style 8 full screen, else 7: title bar, resize, close); null on failure,
// including a width or height of 0 or above 65535. Vertical sync is off. The caller owns the
// record until vollo_stop.
vollo_window *vollo_start(uint32_t width, uint32_t height, bool fullscreen, const char *title);
// Opens a window with any combination of sf::Style flags; null on failure. Keeps `title`'s pointer.
// A SIGABRT raised while SFML builds the render window (as when no X display can be
// opened) makes it return null; the caller's SIGABRT disposition is kept.
vollo_window *vollo_start_style(uint32_t width, uint32_t height, uint32_t style, const char *title);
// Closes the window and releases its record. Responses and input state are kept.
void vollo_stop(vollo_window *window);
// Changes the title bar's text and keeps `title`'s pointer in the record (null: no text).
void vollo_set_title(vollo_window *window, const char *title);
// Resizes the window; width and height of the record and the one-pixel-per-pixel view follow
// at once (with a logical size the record keeps it and the space is fitted to the new size;
// the resize response still comes from the loop). False, changing nothing, for a null
// window or a side of 0 or above the most the graphics driver draws into (at most 65535).
bool vollo_set_size(vollo_window *window, uint32_t width, uint32_t height);
// Switches waiting for the screen's refresh at each vollo_display on or off.
void vollo_set_vertical_sync(vollo_window *window, bool enabled);
// Shows or hides the mouse pointer while it is over the window.
void vollo_show_cursor(vollo_window *window, bool visible);
// From now on, and across resizes, everything drawn on the window is in a width x height
// space of logical pixels, shown at the largest scale that fits the window (a whole number
// when whole_factors, unless the window is smaller than the space), centred, with black
// bars painted by vollo_display. The record's width and height report the space's size;
// the resize response still gets the window's size in window pixels. Mouse positions
// (responses, gl_mouse, vollo_get_mouse_position) are in logical pixels, floor-rounded;
// over the bars they lie outside 0..width-1 / 0..height-1 rather than being clamped, so
// a program can tell. 0 x 0 goes back to one window pixel per buffer pixel. Nothing
// changes, with vollo_error set, for a null window, one side 0, or a side above 65535.
void vollo_set_logical_size(vollo_window *window, uint32_t width, uint32_t height, bool whole_factors);

// ---------------------------------------------------------------------------
// 3. Main loop and responses
// ---------------------------------------------------------------------------

// Registers the response to key presses and releases (null: none).
void vollo_set_key_response(vollo_key_response response);
// Registers the response to entered text (Unicode code points).
void vollo_set_text_response(vollo_text_response response);
// Registers the response to mouse button presses and releases.
void vollo_set_click_response(vollo_click_response response);
// Registers the response to mouse moves (given the move relative to the last known position).
void vollo_set_move_response(vollo_move_response response);
// Registers the response to mouse wheel scrolls.
void vollo_set_wheel_response(vollo_wheel_response response);
// Registers the response to joystick connections; joystick buttons and axes need it too.
void vollo_set_joy_connect_response(vollo_joy_connect_response response);
// Registers the response to joystick button presses and releases.
void vollo_set_joy_button_response(vollo_joy_button_response response);
// Registers the response to joystick axis moves.
void vollo_set_joy_axis_response(vollo_joy_axis_response response);
// Registers the function called once per frame.
void vollo_set_loop_main_function(vollo_main_function function);
// Registers the response to window resizes, given the new size in window pixels. It comes
// once at the start of the first loop on each window, with the window's first size, and
// then at each change of size. Before it runs, the window record's width and height already
// follow the window and the drawing area is reset to one window pixel per buffer pixel
// (with a logical size: the record keeps that size and the space is fitted again), with or
// without a response.
void vollo_set_resize_response(vollo_resize_response response);
// Registers the response to the window gaining (VOLLO_GAINED) or losing (VOLLO_LOST) the focus.
void vollo_set_focus_response(vollo_focus_response response);
// Registers the response to the mouse pointer entering (VOLLO_ENTERED) or leaving (VOLLO_LEFT)
// the window.
void vollo_set_mouse_enter_response(vollo_mouse_enter_response response);
// Replaces every response at once with the record's fields (null: nothing changes).
void vollo_set_context(const vollo_context *context);
// The responses currently registered: the live record, which later registrations change.
const vollo_context *vollo_get_context(void);
// Runs frames at `frequency` per second (0: back to back), dispatching the window's events
// (window may be null) before each; returns the first response result other than
// VOLLO_CONTINUE, or 1 when the window is closed.
vollo_response vollo_loop(vollo_window *window, uint8_t frequency, void *data);

// Time, for movement that does not depend on the frame rate. A frame late by several
// periods is caught up in a burst: the frames it owes run back to back, the first with a
// long frame time and the others with almost none. Moving by speed * vollo_get_frame_time()
// keeps the overall pace right through a burst; to avoid a jump after a long stall (a
// dragged window, a busy machine) clamp the value first, e.g. to 0.05 seconds.

// Seconds since the first vollo_loop of the program began; 0 before it.
double vollo_get_time(void);
// Seconds between the starts of the latest two frames (the first frame of a loop: since
// the loop began); 0 before the first frame.
double vollo_get_frame_time(void);
// Frames a second, counted over the latest complete window of at least one second of
// vollo_loop; 0 until the first second has run.
double vollo_get_fps(void);

// Random numbers: the same sequence for a seed on every machine. A run that sets no
// seed takes one from the clock at its first number.

// Starts the sequence afresh from `seed`.
void vollo_random_seed(uint64_t seed);
// A whole number from min to max, both included, every value equally likely; the bounds
// may come in either order (vollo_random(6, 1) is vollo_random(1, 6)).
int32_t vollo_random(int32_t min, int32_t max);
// A real number in [0, 1), a multiple of 2^-53, from the same seeded sequence.
double vollo_random_real(void);

// Recording and replaying input. A recording holds every event vollo_loop hands on
// (to a response or to the input state), in its frame, each frame's time and the random
// seed. Replayed, it gives a program whose behaviour depends only on vollo's input,
// time and random numbers the same responses with the same arguments in the same
// frames, hence the same pixels. While either runs, vollo_get_time stays at the start
// of the frame under way. Set VOLLO_RECORD=path or VOLLO_REPLAY=path in the environment
// (VOLLO_REPLAY_PACE=1: at the recorded pace rather than as fast as frames run), or call
// the functions below before the first vollo_loop and the first vollo_random. A file
// named in the environment that cannot be used is also reported on standard error, and
// a replay that cannot be read makes vollo_loop return 1 at once.
//
// The format is text, one line each; blank lines and lines starting with # are skipped:
//   vollo-input 1              first line
//   seed S                     the random seed, before the first loop
//   loop T                     a vollo_loop began, T microseconds on the frame clock
//   F time T                   frame F (from 1 in each loop) started at T (optional:
//                              one period after the frame before)
//   F key pressed|released K   the events of frame F, in order: K a VOLLO_KEY_* code,
//   F text C                   C a Unicode code point, B a VOLLO_MOUSE_* button,
//   F click pressed|released B X Y        X Y in window pixels, W 0 (vertical) or 1,
//   F move X Y                 D a decimal number, J a joystick 0..7, N a button 0..31,
//   F wheel W D X Y            A an axis 0..7, P a position -100..100
//   F resize WIDTH HEIGHT
//   F focus gained|lost        (lost releases every key and button still held)
//   F pointer entered|left
//   F joystick connected|disconnected J
//   F joybutton pressed|released J N
//   F joyaxis J A P
//   F close
//   end F R                    the loop returned R in frame F
// Frame numbers and times never go back. A replayed loop returns R on reaching frame
// F + 1 (1 when the loop's "end" is missing, after its last frame); each later
// vollo_loop replays the next "loop".

// Records the input of the loops to come into a new file at `path` (null: stops
// recording). False, recording nothing, when the file cannot be made or a loop runs.
bool vollo_record_input(const char *path);
// Makes the loops to come replay the file at `path` and ignore real input, except a
// close request (null: back to real input). False, changing nothing, when the file
// cannot be read or is malformed (vollo_error names the line) or a loop runs.
bool vollo_replay_input(const char *path);

// ---------------------------------------------------------------------------
// 4. Input state (kept up to date by vollo_loop; zero at start)
// ---------------------------------------------------------------------------

// Last known mouse position, in window pixels (logical pixels once vollo_set_logical_size is set).
const vollo_position *vollo_get_mouse_position(void);
// VOLLO_MOUSE_BUTTON_COUNT flags, indexed by sf::Mouse::Button: 1 while down.
const uint8_t *vollo_get_mouse_button(void);
// VOLLO_KEY_COUNT flags, indexed by sf::Keyboard::Key: 1 while down.
const uint8_t *vollo_get_keyboard(void);
// True while the key (a VOLLO_KEY_* code) is held, whether or not a key response is
// registered (the keyboard array above only changes while one is); false out of range.
bool vollo_key_down(int32_t key);
// True while the mouse button (VOLLO_MOUSE_*) is held, with or without a click response.
bool vollo_mouse_down(int32_t button);
// True in the frame whose events held the key's press, repeats left out: from its
// responses to its main function. A press and release in one frame make both true.
bool vollo_key_pressed(int32_t key);
// True in the frame whose events held the key's release (the focus going included).
bool vollo_key_released(int32_t key);
// Key repeat (on by default): a key held down sends VOLLO_PRESSED again and again, after a
// delay, as the system repeats it, with no release between; the keyboard array and
// vollo_key_down stay 1. Off, a physical press sends one VOLLO_PRESSED. A null window
// changes nothing (vollo_error tells).
void vollo_set_key_repeat(vollo_window *window, bool repeat);
// When the window loses the focus, every key and button still held is released: its
// array entry is cleared and its response is called with VOLLO_RELEASED, then the
// focus response runs.

// The system clipboard's text, in UTF-8; "" when empty or when no display can be
// reached. Held by the library until the next call.
const char *vollo_get_clipboard(void);
// Puts UTF-8 text on the system clipboard (null: empty); nothing without a display.
void vollo_set_clipboard(const char *text);
// A new pixel array, owned by the caller (vollo_delete_clipable), of the picture on the X
// CLIPBOARD: its image/png, else image/bmp, else the first local file a text/uri-list names;
// opaque, in system memory outside the arena (as vollo_adopt_pixels makes it). Waits at most 3 s for the owner's answer. Null,
// with vollo_error saying why, when the clipboard is empty or holds no picture, the owner
// does not answer, the picture does not decode or no display can be reached.
vollo_pixelarray *vollo_get_clipboard_pixelarray(void);
// Takes the X CLIPBOARD and puts a copy of the array on it (the caller keeps the array):
// vollo_loop's frames then answer other programs' requests for TARGETS, image/png and
// image/bmp (large ones in pieces), until another program takes the clipboard or
// vollo_stop closes the window. False, with vollo_error set, for a null or empty array,
// no display, or a server that did not give the clipboard.
bool vollo_set_clipboard_pixelarray(const vollo_pixelarray *array);
// English name of a key code ("A", "7", "Escape", "Left", "Numpad 7", "F1"); "Unknown"
// for VOLLO_KEY_UNKNOWN and any value outside 0..VOLLO_KEY_COUNT-1. Static text.
const char *vollo_key_name(int32_t key);
// 256 flags: button b of joystick j at j * 32 + b, 1 while down.
const uint8_t *vollo_get_joy_button(void);
// 64 positions: axis a of joystick j at j * 8 + a.
const float *vollo_get_joy_axis(void);

extern vollo_context gl_callback;                 // the registered responses
extern uint8_t gl_keyboard[VOLLO_KEY_COUNT];
extern uint8_t gl_button[VOLLO_MOUSE_BUTTON_COUNT];
extern vollo_position gl_mouse;
extern vollo_joystick gl_joystick[VOLLO_JOYSTICK_COUNT];
extern float gl_joy_axis[VOLLO_JOYSTICK_COUNT * VOLLO_JOYSTICK_AXIS_COUNT];
extern uint8_t gl_joy_button[VOLLO_JOYSTICK_COUNT * VOLLO_JOYSTICK_BUTTON_COUNT];

// ---------------------------------------------------------------------------
// 5. Clipables, blit, fill and display
// ---------------------------------------------------------------------------

// The three creating functions give records owned by the caller until vollo_delete_clipable.

// New pixel array, every pixel 0xFFB469FF; pixels come from vollo_malloc. Null when width *
// height does not fit in 32 bits or the arena cannot hold it. Needs no display: pixel
// arrays reach the GPU only when blitted onto a window or a picture.
vollo_pixelarray *vollo_new_pixelarray(uint32_t width, uint32_t height);
// New fully transparent picture with smooth filtering; null when it cannot be created
// (no display included).
vollo_picture *vollo_new_picture(uint32_t width, uint32_t height);
// Picture holding an image file (any format SFML reads); null when it cannot be loaded
// or no display can be reached.
vollo_picture *vollo_load_picture(const char *path);
// Pixel array holding a picture file, recognised by its content: BMP of every kind (1 to
// 32 bits, palettes, bit fields, RLE8/RLE4, OS/2 and Windows headers) through the
// library's own reader, and PNG, JPEG, GIF (first frame), TGA, PSD or HDR through SFML's
// image loader. Transparent pixels are composited over white; every pixel is opaque.
// Null when the file cannot be read or decoded whole, or no pixel array can be made;
// vollo_load_pixelarray_error() then tells why.
vollo_pixelarray *vollo_load_pixelarray(const char *path);
// As vollo_load_pixelarray for BMP files only: any other file is refused.
vollo_pixelarray *vollo_load_bmp(const char *path);
// Why the calling thread's last vollo_load_pixelarray, vollo_load_bmp or vollo_check_picture
// failed (one per thread, as vollo_error): a static text; null after a success. After a load it is the reason vollo_error gives,
// without the words naming the file.
const char *vollo_load_pixelarray_error(void);
// Null when vollo_load_pixelarray can most likely load the file, otherwise why not (a
// static text); needs no display. BMP files are judged by their headers and length, the
// pixel codes are not decoded; other kinds are decoded and dropped.
const char *vollo_check_picture(const char *path);
// The width and height of the picture in a file, read from its headers without decoding
// its pixels (so also for pictures larger than the arena); false when the headers do
// not tell it. A size found here is no promise that the pixels decode.
bool vollo_picture_size(const char *path, uint32_t *width, uint32_t *height);
// Decodes a picture file once into new memory, without a display and outside the arena:
// width x height opaque pixels (transparent ones composited over white), top row first,
// for every kind vollo_load_pixelarray reads (also PIC). Release with free(). Null when
// the file cannot be read or decoded, or memory runs out; vollo_error() tells why.
uint32_t *vollo_decode_picture(const char *path, uint32_t *width, uint32_t *height);
// The kinds of picture file the decoder tells apart by their first bytes (TGA has no
// signature: it is the kind of every file that matches none of the others).
typedef enum vollo_picture_kind
{
    VOLLO_KIND_BMP,
    VOLLO_KIND_PNG,
    VOLLO_KIND_JPEG,
    VOLLO_KIND_TGA,
    VOLLO_KIND_GIF,
    VOLLO_KIND_PSD,
    VOLLO_KIND_HDR,
    VOLLO_KIND_PIC
} vollo_picture_kind;
// The one picture decoder: the `size` bytes of a picture file into new memory outside the
// arena, as vollo_decode_picture, with the kind found in *kind (kind may be null).
// Release with free(). Null when they cannot be decoded; vollo_error() tells why.
uint32_t *vollo_decode_bytes(const uint8_t *bytes, uint64_t size, uint32_t *width, uint32_t *height,
                             vollo_picture_kind *kind);
// The whole of a file read once into new memory (a FIFO without a writer reads as empty,
// never hangs), its length in *size. Release with free(). Null when it cannot be read or
// is larger than any picture the decoder takes; vollo_error() tells why.
uint8_t *vollo_read_file(const char *path, uint64_t *size);
// Pixel array over width x height pixels in a block from malloc (such as the one
// vollo_decode_picture returns), outside the arena: every function that takes a pixel
// array works on it, and vollo_delete_clipable releases the block with free(). Null, with
// vollo_error set and the block still the caller's, for null pixels, more than 2^32
// pixels, or no memory for the record.
vollo_pixelarray *vollo_adopt_pixels(uint32_t *pixels, uint32_t width, uint32_t height);
// As vollo_decode_picture, made smaller to fit max_width x max_height: aspect kept, never
// enlarged, at least 1 x 1, box-filtered. A JPEG file is decoded at 1/2, 1/4 or 1/8 of its
// size while it is read (the full pixels are never held); a progressive one at 1/8 from
// its DC scans alone, one value per 8 x 8 block. Other kinds are decoded whole and then
// filtered. *width and *height receive the size made. Release with free(). Null, with
// vollo_error set, as vollo_decode_picture, and for a bound of 0.
uint32_t *vollo_decode_picture_scaled(const char *path, uint32_t max_width, uint32_t max_height,
                                      uint32_t *width, uint32_t *height);
// As vollo_decode_picture_scaled, from the `size` bytes of a picture file in memory (JPEG
// bytes decoded at a reduced size, as a file is), so that a program that also needs the
// whole picture reads the file once. Release with free(). Null, with vollo_error set, as
// vollo_decode_bytes, and for a bound of 0.
uint32_t *vollo_decode_bytes_scaled(const uint8_t *bytes, uint64_t size, uint32_t max_width,
                                    uint32_t max_height, uint32_t *width, uint32_t *height);
// How vollo_scale_pixelarray computes a pixel.
typedef enum vollo_filter
{
    VOLLO_FILTER_BOX = 0,       // the area-weighted mean of every source pixel it covers
    VOLLO_FILTER_BILINEAR = 1,  // the four source pixels nearest its centre, interpolated
    VOLLO_FILTER_NEAREST = 2    // the source pixel under its centre
} vollo_filter;
// New pixel array of width x height holding the source's clip rectangle resampled with
// `filter` (colours weighted by alpha), its pixels in system memory as from
// vollo_adopt_pixels. Null, with vollo_error set, for a null source, an empty clip
// rectangle, a side of 0, more than 2^32 pixels or no memory.
vollo_pixelarray *vollo_scale_pixelarray(const vollo_pixelarray *source, uint32_t width, uint32_t height,
                                         vollo_filter filter);
// Releases a picture or a pixel array with all it owns; does nothing for other records.
void vollo_delete_clipable(vollo_clipable *clipable);
// Pixel array holding a picture file as vollo_load_pixelarray reads it, keeping the file's
// alpha (pixels are not composited over white; a BMP alpha channel that is 0 everywhere
// still means opaque). Null on failure, as vollo_load_pixelarray.
vollo_pixelarray *vollo_load_pixelarray_rgba(const char *path);
// New picture of the array's size holding its pixels, alpha included, with smooth filtering
// and no tint; owned by the caller. Null when it cannot be made (no display included).
vollo_picture *vollo_new_picture_from_pixelarray(const vollo_pixelarray *array);
// Replaces the picture's pixels with the array's, alpha included (no vollo_draw needed).
// False, changing nothing, when their sizes differ or either is null.
bool vollo_update_picture(vollo_picture *picture, const vollo_pixelarray *array);
// Sets the filtering of a scaled or rotated picture: smooth (linear) or sharp (nearest).
// New pictures are smooth, loaded ones sharp.
void vollo_set_smooth(vollo_picture *picture, bool smooth);
// Multiplies each channel of the picture, alpha included, by the colour's (0..255 as 0..1)
// at every blit; VOLLO_WHITE, the initial tint, leaves it unchanged.
void vollo_set_tint(vollo_picture *picture, uint32_t color);

// Copies the source's clip rectangle onto the destination, its top-left corner at `position`
// (null: (0, 0)); the part of the rectangle outside the source is left out, and what falls
// outside a pixel-array destination is cut off. Pixel-array sources replace what is there
// (no blending, alpha included); pictures blend and honour their origin, scale and rotation,
// except onto a pixel array (a direct copy without blending).
void vollo_blit(vollo_buffer *destination, vollo_clipable *source, const vollo_position *position);
// Lays the pixel array's clip rectangle over any buffer with the blend rule of section 12,
// placed and cut as vollo_blit places and cuts it: alpha 255 replaces, alpha 0 leaves the
// destination as it was. On a picture, vollo_draw shows the result.
void vollo_blit_blend(vollo_buffer *destination, const vollo_pixelarray *source, const vollo_position *position);
#ifdef __cplusplus
// As vollo_blit, drawing a picture source with `shader` (null: none). C++ only.
void vollo_blit_shader(vollo_buffer *destination, vollo_clipable *source,
                       const vollo_position *position, const sf::Shader *shader);
#endif
// Covers the window, a picture's clip rectangle (blending) or a pixel array's clip rectangle
// (replacing).
void vollo_fill(vollo_buffer *buffer, uint32_t color);
// Makes what was drawn into a picture visible in its texture and later blits. Call it
// after drawing into a picture (fill, blit, primitives, shapes, text) and before the
// picture is blitted or saved; until then the drawing may not show. A picture that is
// only loaded or blitted from needs none, and the window and pixel arrays never do.
void vollo_draw(vollo_picture *picture);
// Shows on screen everything drawn on the window since the last display.
void vollo_display(vollo_window *window);
// Writes the buffer as an image file in the format its name ends with (.png, .bmp, .tga,
// .jpg or .jpeg, any case): a whole pixel array, a picture as vollo_draw last made it
// visible, or the window as the next vollo_display will show it (call it before
// vollo_display; made opaque). PNG, BMP and TGA keep the alpha, JPEG (quality 95) drops it.
// The file is written by vollo_write_file, so an existing file is replaced whole or left as
// it was. False on any failure (unknown extension, folder missing or not writable, full
// disk), with nothing left behind and vollo_error saying why.
bool vollo_save_buffer(vollo_buffer *buffer, const char *path);
// Encodes width x height pixels, rows `stride` pixels apart (stride >= width), in the
// format `name` ends with, as vollo_save_buffer chooses it, into a new block of *size
// bytes owned by the caller (release with free). Null when the format is unknown, the
// picture empty or beyond the encoder, or memory runs out; vollo_error says why.
uint8_t *vollo_encode_pixels(const uint32_t *pixels, uint32_t width, uint32_t height, uint32_t stride,
                             const char *name, uint64_t *size);

// Hooks for drawing on buffers that SFML does not draw (pixel arrays). When a hook
// is null the library draws on pixel arrays itself; an installed hook always wins.
extern void (*gl_vollo_my_blit)(vollo_buffer *destination, vollo_clipable *source,
                                const vollo_position *position);
extern void (*gl_vollo_my_fill)(vollo_buffer *buffer, uint32_t color);
extern void (*gl_vollo_my_set_pixel)(vollo_buffer *buffer, vollo_position position, uint32_t color);
extern void (*gl_vollo_my_set_line)(vollo_buffer *buffer, const vollo_position *points,
                                    const uint32_t *colors);
extern void (*gl_vollo_my_set_polygon)(vollo_buffer *buffer, const vollo_position *points,
                                       const uint32_t *colors);
// Reserved for programs; no library operation calls it.
extern void (*gl_vollo_my_clear)(vollo_buffer *buffer, uint32_t color);

// ---------------------------------------------------------------------------
// 6. Drawing primitives (window and pictures through SFML, pixel arrays in software)
// ---------------------------------------------------------------------------

// On pixel arrays (with no hook installed) every primitive replaces pixels without blending
// and draws only inside the array. On a window with a logical size they draw in whole
// logical pixels, the same pixels as on a pixel array of that size.

// Draws one point.
void vollo_set_pixel(vollo_buffer *buffer, vollo_position position, uint32_t color);
// Draws the line between points[0] and points[1], both ends included, colours interpolated.
void vollo_set_line(vollo_buffer *buffer, const vollo_position *points, const uint32_t *colors);
// Fills the triangle points[0..2] (pixel centres inside, top-left rule), colours interpolated.
void vollo_set_polygon(vollo_buffer *buffer, const vollo_position *points, const uint32_t *colors);
// Draws the line from a to b, both ends included, in one colour: vollo_set_line's twin.
void vollo_set_line_color(vollo_buffer *buffer, vollo_position a, vollo_position b, uint32_t color);
// Draws the closed outline through count points (each side as vollo_set_line_color draws
// it); one point is a pixel, two a line, none nothing.
void vollo_set_polygon_outline(vollo_buffer *buffer, const vollo_position *points, uint32_t count,
                               uint32_t color);

// ---------------------------------------------------------------------------
// 7. Sound effects and music
// ---------------------------------------------------------------------------

// Head of a sound: type 1 for an effect (decoded in memory), 0 for a music (streamed).
// Without an audio device sounds load and play silently; the first load says so in
// vollo_error ("no audio device: sounds play silently").
typedef struct vollo_sound
{
    int32_t type;
} vollo_sound;

// Decodes a whole sound file (WAV, OGG, FLAC) into memory; owned by the caller until
// vollo_delete_sound. Null when the path is not a regular file holding playable sound.
vollo_sound *vollo_load_effect(const char *path);
// Opens a sound file (WAV, OGG, FLAC) for streaming while it plays; owned by the caller
// until vollo_delete_sound. Null when the path is not a regular file holding playable sound.
vollo_sound *vollo_load_music(const char *path);
// Starts playing (from the start when already playing). Every sound function does nothing
// for a null sound.
void vollo_sound_play(vollo_sound *sound);
// Stops playing and rewinds.
void vollo_sound_stop(vollo_sound *sound);
// Switches looping on or off.
void vollo_sound_loop(vollo_sound *sound, bool loop);
// Sets the volume, clamped to 0..100 (100: full volume); NaN leaves it unchanged.
void vollo_sound_volume(vollo_sound *sound, double volume);
// Sets the pitch (1: natural, 2: an octave up); below 0 becomes 0, NaN leaves it unchanged.
void vollo_sound_pitch(vollo_sound *sound, double pitch);
// Stops and releases the sound.
void vollo_delete_sound(vollo_sound *sound);
// True while the sound (any of an effect's voices) is playing.
bool vollo_sound_playing(vollo_sound *sound);
// Plays an effect once more over itself while it still sounds, up to 8 voices at once; a
// ninth restarts the voice that has played longest. Voices take the effect's volume, pitch
// and looping, and vollo_sound_stop, _volume, _pitch and _loop apply to them all, where
// vollo_sound_play restarts only the effect's first voice. A music plays as with
// vollo_sound_play.
void vollo_sound_play_voice(vollo_sound *sound);
// Pauses a playing sound (every voice of an effect) where it is; a stopped one stays stopped.
// The five functions below record a reason in vollo_error for a null sound.
void vollo_sound_pause(vollo_sound *sound);
// Goes on from where vollo_sound_pause left it; a sound that is not paused is left as it is.
void vollo_sound_resume(vollo_sound *sound);
// Length of the sound in seconds; 0 for a null sound.
double vollo_sound_length(vollo_sound *sound);
// Position in seconds from the start (an effect's first voice): 0 when stopped, and for a
// null sound. With no audio device an effect's position runs on a clock of its own, at
// the natural pitch, so playing, pausing, seeking and the end behave as if heard.
double vollo_sound_offset(vollo_sound *sound);
// Moves a playing or paused sound (an effect's first voice) to `seconds` from its start:
// below 0 is the start; at or past the length the sound is at its end, so it stops or,
// looping, starts over. A stopped sound is not moved (it plays from the start); NaN
// changes nothing and sets vollo_error.
void vollo_sound_seek(vollo_sound *sound, double seconds);

// ---------------------------------------------------------------------------
// 8. Tracked allocator (one arena, size classes of 32 bytes, border checks)
// ---------------------------------------------------------------------------

// At least `size` bytes (rounded up to a multiple of 32, 16-byte aligned) from the arena;
// null when the arena cannot hold them, cannot be obtained, or has been released.
void *vollo_malloc(uint64_t size);
// Releases a block (null, or any pointer once the arena is released: nothing). A damaged,
// foreign or already released block prints a message and stops the process (exit status 1).
void vollo_free(void *pointer);
// Sets the arena size in MiB (default 20); only the first call with 0..2047 counts.
void set_max_heap_size(int32_t mib);
// The arena size in MiB.
int64_t get_max_heap_size(void);
// Number of live blocks (makes the arena if needed); 0 when there is no arena.
uint64_t get_nb_alloc(void);
// Prints the report to standard error when memory_check is set, then releases the arena;
// runs at exit. Does nothing when there is no arena.
void check_memory_state(void);

extern int32_t memory_check;  // set non-zero to get the report at exit
extern uint64_t border0;      // expected border words of every block
extern uint64_t border1;

// ---------------------------------------------------------------------------
// 9. INI store: scopes of named fields, each field an array of text values
// ---------------------------------------------------------------------------

// A document (in C++ the kzr::Ini class of ini/Ini.hpp; opaque in C); owned by the
// caller until vollo_delete_ini.
#ifdef __cplusplus
typedef kzr::Ini vollo_ini;
#else
typedef struct vollo_ini vollo_ini;
#endif
// One scope of a document; valid while the scope exists.
typedef struct vollo_ini_scope vollo_ini_scope;

// New document holding only the empty default scope; null when memory runs out.
vollo_ini *vollo_new_ini(void);
// Document read from a file; null on any failure. Unless memory ran out, vollo_error then
// starts with one of three texts that tell the failures apart: "cannot open '" when there is no such file
// (or no path), "cannot read '" when the file exists but cannot be read whole (a folder,
// no permission, a read error, 4 GiB or more), "cannot parse '" when its text is malformed,
// as in "cannot parse 'game.ini' line 4: expected '=' after field name.".
vollo_ini *vollo_load_ini(const char *path);
// Writes the document to a file with vollo_write_file (replaced whole, never left half
// written); false when it cannot be written, or when a scope or field name is not a run
// of letters, digits and '_' that could be read back.
bool vollo_save_ini(vollo_ini *ini, const char *path);
// Releases the document (null: nothing).
void vollo_delete_ini(vollo_ini *ini);
// Value `index` of scope.field (scope null: the default scope); null when absent. The text
// belongs to the document: valid until that value is changed or erased.
const char *vollo_ini_get_field(vollo_ini *ini, const char *scope, const char *field, int index);
// Sets value `index` of scope.field, creating what is missing; a null value erases
// (the value; the field with index erase_field; the scope with a null field). A
// negative index, or one of 2^20 or more past the field's end, changes nothing.
void vollo_ini_set_field(vollo_ini *ini, const char *scope, const char *field, int index,
                         const char *value);
// First scope in name order (the default scope while it exists); null when none.
vollo_ini_scope *vollo_ini_first(vollo_ini *ini);
// Scope after `scope` in name order; null at the end or for an unknown handle.
vollo_ini_scope *vollo_ini_next(vollo_ini *ini, vollo_ini_scope *scope);
// Name of the scope ("" for the default scope); null for an unknown handle.
const char *vollo_ini_scope_name(vollo_ini *ini, vollo_ini_scope *scope);
// Value `index` of a field of the scope; null when absent.
const char *vollo_ini_scope_get_field(vollo_ini_scope *scope, const char *field, int index);
// Replaces an existing value of a field of the scope; never adds values.
void vollo_ini_scope_set_field(vollo_ini_scope *scope, const char *field, int index, const char *value);
// Why the latest failed vollo_load_ini or vollo_save_ini failed: "ini: cannot open file",
// "ini: cannot write file", or the reader's message with the line of the file, as in
// "ini: line 3: expected '=' after field name."; "" before any failure. A success leaves
// it as it is. The text belongs to the library, valid until the next failure.
const char *vollo_ini_error(void);
// Value `index` of scope.field as a decimal integer (blanks around it allowed); `fallback`
// when the value is missing, is not a whole integer or does not fit in 64 bits.
int64_t vollo_ini_get_int(vollo_ini *ini, const char *scope, const char *field, int index, int64_t fallback);
// The value as a finite number read by strtod (blanks around it allowed); `fallback` when
// missing, malformed, out of range, infinite or not a number.
double vollo_ini_get_double(vollo_ini *ini, const char *scope, const char *field, int index, double fallback);
// The value as a truth: 1, true, yes, on or 0, false, no, off in any case (blanks around
// allowed); `fallback` when missing or anything else.
bool vollo_ini_get_bool(vollo_ini *ini, const char *scope, const char *field, int index, bool fallback);

extern const char *default_scope;  // null: as a scope name, the default scope
extern vollo_ini_scope *last_scope;  // null: the end of a scope walk
extern const char *erase_index;    // null: as a value, erase
extern const char *erase_scope;    // null: as a field name with a null value, erase the scope
extern const int erase_field;      // -1: as an index with a null value, erase the field

// ---------------------------------------------------------------------------
// 10. Text
// ---------------------------------------------------------------------------

// Text is UTF-8; '\n' starts a new line. Text is drawn onto the window, a picture or a
// pixel array, inside the buffer and (off-screen buffers) inside its clip rectangle,
// alpha-blended as the shapes of section 11 are. A null buffer or text draws nothing.

// The width and height of a box in pixels.
typedef struct vollo_size
{
    int32_t width;
    int32_t height;
} vollo_size;

// Draws text in the built-in font (printable ASCII and Latin-1; any other character,
// and each byte of malformed UTF-8, as a framed question mark): every glyph is a
// 5 x 11 cell of font pixels on a 6 x 12 pitch, each font pixel drawn as a scale x scale
// block of identical pixels, the first cell's top-left at `position`. Scale 0 or below
// draws nothing.
void vollo_draw_text(vollo_buffer *buffer, const char *text, vollo_position position, int32_t scale,
                     uint32_t color);
// The box vollo_draw_text covers from its position: (6 * longest line in characters - 1)
// * scale by (12 * lines - 1) * scale, each saturating at INT32_MAX; the width is 0 when
// no line holds a character, and the box (0, 0) for empty or null text or scale 0 or below.
vollo_size vollo_text_size(const char *text, int32_t scale);

// A TrueType or OpenType font read from a file (owned by the caller until vollo_delete_font).
typedef struct vollo_font vollo_font;

// Reads a font file; null when it cannot be read as a font. The file is read whole.
vollo_font *vollo_load_font(const char *path);
// Draws anti-aliased text at `pixel_size` (1..1024; other sizes draw nothing): the top of
// the first line at position.y, its pen start at position.x, lines one line spacing apart.
// Each pixel blends the colour with its alpha scaled by the glyph's coverage there.
// A null font or empty text draws nothing. On a pixel array FreeType draws it with no
// display, within one level per channel of what the GPU draws on the window and pictures.
void vollo_draw_text_font(vollo_buffer *buffer, vollo_font *font, const char *text,
                          vollo_position position, int32_t pixel_size, uint32_t color);
// The box from the drawing position to the farthest pixel vollo_draw_text_font can touch,
// rounded up to whole pixels; (0, 0) for a null font, empty text or a size outside 1..1024.
// Needs no display.
vollo_size vollo_text_size_font(vollo_font *font, const char *text, int32_t pixel_size);
// Writes into `out` (out_size bytes, NUL included) the text when it fits max_width, else
// its longest start, cut between whole characters, followed by "\xE2\x80\xA6" (the ellipsis;
// "..." where the font lacks it, and always in the built-in font), and returns the width
// written. A null font means the built-in font at scale `size`, else the font at pixel
// size `size`. 0 and out "" when not even the ellipsis fits or text is null.
int32_t vollo_text_fit(vollo_font *font, const char *text, int32_t size, int32_t max_width, char *out,
                       size_t out_size);
// Releases a font (null: nothing).
void vollo_delete_font(vollo_font *font);

// ---------------------------------------------------------------------------
// 11. Shapes
// ---------------------------------------------------------------------------

// Shapes are drawn the same way on every kind of buffer: a pixel is drawn when its centre
// (x + 0.5, y + 0.5) lies inside the shape, within the buffer and (off-screen buffers)
// within its clip rectangle. Positions are pixel corners, as the vertices of
// vollo_set_polygon are. Any coordinates are safe; sizes of 0 or below draw nothing.
// Colours blend over what is there, every channel of a pixel array rounded to nearest:
//   out.rgb = (color.rgb * a + under.rgb * (255 - a)) / 255
//   out.a   = a + under.a * (255 - a) / 255           (a = the colour's alpha)
// so alpha 255 replaces and alpha 0 leaves the pixel as it was. The window and pictures
// blend the same way on the GPU (equal up to rounding). Outlines are one pixel wide:
// the pixels of the filled shape with a side-neighbour outside it. Shapes and text
// draw on pixel arrays themselves: no drawing hook of section 5 is consulted.

// Rectangle of width x height pixels, its top-left pixel at `corner`.
void vollo_set_rectangle(vollo_buffer *buffer, vollo_position corner, int32_t width, int32_t height,
                         uint32_t color, bool filled);
// Circle of `radius` pixels around the point `centre` (a pixel corner): diameter 2 * radius.
void vollo_set_circle(vollo_buffer *buffer, vollo_position centre, int32_t radius, uint32_t color,
                      bool filled);
// Ellipse with horizontal radius radius_x and vertical radius radius_y around `centre`;
// a centre exactly on its border counts as inside.
void vollo_set_ellipse(vollo_buffer *buffer, vollo_position centre, int32_t radius_x, int32_t radius_y,
                       uint32_t color, bool filled);
// Line between points[0] and points[1] (pixel centres of its two end pixels) `width`
// pixels thick with round caps: the pixels whose centres lie within width / 2 of the
// segment. Width 1 gives a solid line at least one pixel thick.
void vollo_set_line_width(vollo_buffer *buffer, const vollo_position *points, int32_t width, uint32_t color);

// ---------------------------------------------------------------------------
// 12. Collisions (plain arithmetic: no window, no allocation)
// ---------------------------------------------------------------------------

// Shapes overlap when they share a region of positive area: shapes that only touch do
// not. A rectangle covers x in [x, x + width) and y in [y, y + height). A rectangle whose
// width or height is 0, negative or NaN, a circle whose radius is 0, negative or NaN, and
// a shape with a NaN position are empty: they overlap nothing and hold no point.

// An axis-aligned rectangle in any unit (pixels, logical pixels, metres).
typedef struct vollo_rect
{
    double x, y, width, height;
} vollo_rect;

// True when the two rectangles share an area.
bool vollo_rects_overlap(vollo_rect a, vollo_rect b);
// True when (x, y) lies in the rectangle: left and top edges included, right and bottom not.
bool vollo_point_in_rect(double x, double y, vollo_rect r);
// True when the circles (centre ax, ay, radius ar) and (bx, by, br) share an area.
bool vollo_circles_overlap(double ax, double ay, double ar, double bx, double by, double br);
// True when the circle (centre cx, cy, radius r) and the rectangle share an area.
bool vollo_circle_rect_overlap(double cx, double cy, double r, vollo_rect rect);

#ifdef __cplusplus
}  // extern "C"

// ---------------------------------------------------------------------------
// 13. The same functions as constants of the Vollo namespace (C++ only)
// ---------------------------------------------------------------------------

// Each constant holds the address of a vollo_ function and is called exactly like it
// (Vollo::SetVolume(sound, 50) is vollo_sound_volume(sound, 50)). They are read-only
// and set before main runs. The list, constant beside function, is vollo_namespace.h;
// it comes last here because each constant is declared after its function. Every
// vollo_ function has one except vollo_blit_shader, vollo_malloc and vollo_free (the
// reasons are in the list); the allocator's other functions have none either.
#include "vollo_namespace.h"

namespace Vollo
{
#define VOLLO_DECLARE_CONSTANT(constant, function) extern decltype(&function) const constant;
VOLLO_NAMESPACE(VOLLO_DECLARE_CONSTANT)
#undef VOLLO_DECLARE_CONSTANT

extern const char *DefaultScope;    // twin of default_scope
extern vollo_ini_scope *LastScope;  // twin of last_scope
extern const char *EraseIndex;      // twin of erase_index
extern const char *EraseScope;      // twin of erase_scope
extern const int EraseField;        // twin of erase_field
}  // namespace Vollo
#endif  // __cplusplus

#endif
