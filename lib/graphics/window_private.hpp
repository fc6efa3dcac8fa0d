// Private to the window and main-loop code of the library.
#ifndef VOLLO_WINDOW_PRIVATE_HPP
#define VOLLO_WINDOW_PRIVATE_HPP

#include "vollo.h"
#include "error/error.hpp"
#include "error/records.hpp"

namespace vollo_internal
{

// Updates the input state for one SFML event and calls its response, if any.
// Returns VOLLO_CONTINUE, 1 for a close request, or the response's own result.
vollo_response dispatch_event(const sf::Event &event, void *data);

// Makes the window record follow a resize of its window: width and height take the
// new size and the view is reset so that one buffer pixel is one window pixel.
// A size of zero in either direction changes nothing.
void follow_resize(vollo_window *window, uint32_t width, uint32_t height);

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
};
frame_clock &frames();
// Microseconds on the frame clock; 0 before the first loop.
int64_t frame_clock_now();
// At the entry of vollo_loop: starts the clock the first time, and makes the first
// frame's time and the fps window start from here rather than from an earlier loop.
void note_loop_entry();
// At the start of each frame, before its events are dispatched.
void note_frame_start();

// Called inside the start-up SIGABRT trap, just before the render window is
// constructed; null in normal use. Tests set it to exercise the trap.
extern void (*render_window_probe)(void);

}  // namespace vollo_internal

#endif
