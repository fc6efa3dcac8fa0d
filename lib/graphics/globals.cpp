// Process-wide state of the library: registered responses, input state and
// drawing hooks. All of it is zero at program start.
#include "vollo.h"

vollo_context gl_callback;
uint8_t gl_keyboard[VOLLO_KEY_COUNT];
uint8_t gl_button[VOLLO_MOUSE_BUTTON_COUNT];
vollo_position gl_mouse;
vollo_joystick gl_joystick[VOLLO_JOYSTICK_COUNT];
float gl_joy_axis[VOLLO_JOYSTICK_COUNT * VOLLO_JOYSTICK_AXIS_COUNT];
uint8_t gl_joy_button[VOLLO_JOYSTICK_COUNT * VOLLO_JOYSTICK_BUTTON_COUNT];

void (*gl_vollo_my_blit)(vollo_buffer *, vollo_clipable *, const vollo_position *);
void (*gl_vollo_my_fill)(vollo_buffer *, uint32_t);
void (*gl_vollo_my_set_pixel)(vollo_buffer *, vollo_position, uint32_t);
void (*gl_vollo_my_set_line)(vollo_buffer *, const vollo_position *, const uint32_t *);
void (*gl_vollo_my_set_polygon)(vollo_buffer *, const vollo_position *, const uint32_t *);
void (*gl_vollo_my_clear)(vollo_buffer *, uint32_t);
