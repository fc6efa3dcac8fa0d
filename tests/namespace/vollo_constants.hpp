// Every constant of the Vollo namespace beside the function it must hold, for the
// tests to walk: X(constant name, function).
#ifndef VOLLO_TESTS_NAMESPACE_CONSTANTS_HPP
#define VOLLO_TESTS_NAMESPACE_CONSTANTS_HPP

#define VOLLO_CONSTANTS(X)                                              \
    X(Start, vollo_start)                                               \
    X(StartStyle, vollo_start_style)                                    \
    X(Stop, vollo_stop)                                                 \
    X(NewPicture, vollo_new_picture)                                    \
    X(LoadPicture, vollo_load_picture)                                  \
    X(NewPixelArray, vollo_new_pixelarray)                              \
    X(SetPixel, vollo_set_pixel)                                        \
    X(SetLine, vollo_set_line)                                          \
    X(SetPolygon, vollo_set_polygon)                                    \
    X(Blit, vollo_blit)                                                 \
    X(Fill, vollo_fill)                                                 \
    X(Draw, vollo_draw)                                                 \
    X(Display, vollo_display)                                           \
    X(DeleteClipable, vollo_delete_clipable)                            \
    X(SetKeyResponse, vollo_set_key_response)                           \
    X(SetTextResponse, vollo_set_text_response)                         \
    X(SetClickResponse, vollo_set_click_response)                       \
    X(SetMoveResponse, vollo_set_move_response)                         \
    X(SetWheelResponse, vollo_set_wheel_response)                       \
    X(SetJoystickConnectResponse, vollo_set_joy_connect_response)       \
    X(SetJoystickButtonResponse, vollo_set_joy_button_response)         \
    X(SetJoystickAxisResponse, vollo_set_joy_axis_response)             \
    X(SetLoopMainFunction, vollo_set_loop_main_function)                \
    X(Loop, vollo_loop)                                                 \
    X(MousePosition, vollo_get_mouse_position)                          \
    X(MouseButton, vollo_get_mouse_button)                              \
    X(Keyboard, vollo_get_keyboard)                                     \
    X(JoyButton, vollo_get_joy_button)                                  \
    X(JoyAxis, vollo_get_joy_axis)                                      \
    X(SetContext, vollo_set_context)                                    \
    X(GetContext, vollo_get_context)                                    \
    X(LoadMusic, vollo_load_music)                                      \
    X(LoadEffect, vollo_load_effect)                                    \
    X(SetVolume, vollo_sound_volume)                                    \
    X(SetPitch, vollo_sound_pitch)                                      \
    X(SetLoop, vollo_sound_loop)                                        \
    X(PlaySound, vollo_sound_play)                                      \
    X(StopSound, vollo_sound_stop)                                      \
    X(DeleteSound, vollo_delete_sound)                                  \
    X(NewIni, vollo_new_ini)                                            \
    X(LoadIni, vollo_load_ini)                                          \
    X(SaveIni, vollo_save_ini)                                          \
    X(GetField, vollo_ini_get_field)                                    \
    X(SetField, vollo_ini_set_field)                                    \
    X(DeleteIni, vollo_delete_ini)                                      \
    X(FirstScope, vollo_ini_first)                                      \
    X(GetScopeName, vollo_ini_scope_name)                               \
    X(NextScope, vollo_ini_next)                                        \
    X(ScopeGetField, vollo_ini_scope_get_field)                         \
    X(ScopeSetField, vollo_ini_scope_set_field)

#endif
