/* The fields of vollo.h's records whose places C and C++ must agree on, with the
   size of each record: LAYOUT(record, field). */
LAYOUT(vollo_window, type) LAYOUT(vollo_window, render_target) LAYOUT(vollo_window, width)
LAYOUT(vollo_window, height) LAYOUT(vollo_window, name) LAYOUT(vollo_window, logical_width)
LAYOUT(vollo_window, whole_factors)
LAYOUT(vollo_pixelarray, width) LAYOUT(vollo_pixelarray, clip_x) LAYOUT(vollo_pixelarray, clip_height)
LAYOUT(vollo_pixelarray, origin_x) LAYOUT(vollo_pixelarray, rotation) LAYOUT(vollo_pixelarray, pixels)
LAYOUT(vollo_pixelarray, staging)
LAYOUT(vollo_picture, texture) LAYOUT(vollo_picture, sprite) LAYOUT(vollo_clipable, pixels)
LAYOUT(vollo_joystick, axes) LAYOUT(vollo_context, mouse_enter_response) LAYOUT(vollo_sound, type)
sizeof(vollo_window), sizeof(vollo_clipable), sizeof(vollo_pixelarray), sizeof(vollo_picture),
sizeof(vollo_context), sizeof(vollo_joystick), sizeof(vollo_rect), sizeof(vollo_size)
