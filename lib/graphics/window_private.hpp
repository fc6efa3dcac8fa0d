// Private to the window and main-loop code of the library.
#ifndef VOLLO_WINDOW_PRIVATE_HPP
#define VOLLO_WINDOW_PRIVATE_HPP

#include <SFML/Graphics.hpp>

#include "vollo.h"
#include "error/error.hpp"
#include "error/records.hpp"

namespace vollo_internal
{

// Updates the input state for one SFML event and calls its response, if any.
// Returns VOLLO_CONTINUE, 1 for a close request, or the response's own result.
vollo_response dispatch_event(const sf::Event &event, void *data);

// Makes the window record follow a resize of its window to width x height window
// pixels: the record's width and height take the new size (or keep the logical size,
// when one is set) and the view shows that drawing space in the window, one window
// pixel per buffer pixel without a logical size. A size of zero changes nothing.
void follow_resize(vollo_window *window, uint32_t width, uint32_t height);

// The largest side a window can take: what the X protocol carries, cut to what the
// GL driver can draw into. Needs the display (asks a GL context the first time).
uint32_t largest_window_side();

// The rectangle of the window, in window pixels, where the drawing space is shown:
// the whole window without a logical size, else the largest fitting box (a whole
// multiple of the space when asked and possible), centred.
struct space_box
{
    int64_t x, y, width, height;
};
space_box space_box_of(const vollo_window *window, uint32_t window_width, uint32_t window_height);
// Sets the view that draws the record's width x height space into that box.
void show_space(vollo_window *window, uint32_t window_width, uint32_t window_height);
// A position from window pixels into the drawing space (pixels of the bars fall
// outside 0..width-1 and 0..height-1), and the window pixel under the centre of a
// space pixel. Unchanged without a render window.
vollo_position window_to_space(const vollo_window *window, vollo_position position);
vollo_position space_to_window(const vollo_window *window, vollo_position position);
// Brings the position carried by a mouse event into the window's logical space.
void mouse_to_space(const vollo_window *window, sf::Event &event);
// Paints black the parts of the window outside the box of a logical size.
void paint_bars(vollo_window *window);

// Fills joystick slot `slot` (0..7) of gl_joystick from SFML's view of it,
// releasing the name the slot held before.
void fill_joystick_slot(unsigned int slot);

// Frame timing read by vollo_get_time, vollo_get_frame_time and vollo_get_fps,
// in microseconds of one clock started by the first vollo_loop.
struct frame_clock
{
    sf::Clock clock;
    bool started = false;
    int64_t last_frame_start = 0;  // start of the latest frame (or of the loop, before its first)
    int64_t frame_time = 0;        // between the starts of the latest two frames
    int64_t window_start = 0;      // the fps is counted over windows of at least a second
    uint32_t window_frames = 0;
    double fps = 0;                // frames a second over the latest complete window
    bool frozen = false;           // while recording or replaying: the time stays at the
    int64_t frozen_at = 0;         // latest frame's start, so that a replay reads the same
};
frame_clock &frames();
// Starts the clock the first time.
void start_frame_clock();
// Microseconds on the running clock; 0 before it starts.
int64_t live_clock_now();
// What vollo_get_time reads: the running clock, or the frozen time.
int64_t frame_clock_now();
// At the entry of vollo_loop: starts the clock the first time, and makes the first
// frame's time and the fps window start from here rather than from an earlier loop.
void note_loop_entry();
// At the start of each frame, before its events are dispatched.
void note_frame_start();
// The same with the time given (a replay's).
void note_loop_entry_at(int64_t now);
void note_frame_start_at(int64_t now);

// Called inside the start-up SIGABRT trap, just before the render window is
// constructed; null in normal use. Tests set it to exercise the trap.
extern void (*render_window_probe)(void);

}  // namespace vollo_internal

#endif
