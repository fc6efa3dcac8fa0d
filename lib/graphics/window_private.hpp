// Private to the window and main-loop code of the library.
#ifndef VOLLO_WINDOW_PRIVATE_HPP
#define VOLLO_WINDOW_PRIVATE_HPP

#include "vollo.h"

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

// Called inside the start-up SIGABRT trap, just before the render window is
// constructed; null in normal use. Tests set it to exercise the trap.
extern void (*render_window_probe)(void);

}  // namespace vollo_internal

#endif
