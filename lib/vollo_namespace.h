// The list of the Vollo namespace, in one place: every constant beside the function
// it holds, and every vollo_ function left out with the reason. vollo.h declares
// the constants from it, lib/graphics/vollo_namespace.cpp defines them, and the
// tests check it against vollo.h and against the README's table.
//
// X(constant, function) for each constant. VOLLO_NAMESPACE_FIRST holds the first
// fifty; VOLLO_NAMESPACE_MORE those added since (each group in the order of the header).
#ifndef VOLLO_NAMESPACE_H
#define VOLLO_NAMESPACE_H

#define VOLLO_NAMESPACE_FIRST(X)                                    \
    X(Start, vollo_start)                                           \
    X(StartStyle, vollo_start_style)                                \
    X(Stop, vollo_stop)                                             \
    X(NewPicture, vollo_new_picture)                                \
    X(LoadPicture, vollo_load_picture)                              \
    X(NewPixelArray, vollo_new_pixelarray)                          \
    X(SetPixel, vollo_set_pixel)                                    \
    X(SetLine, vollo_set_line)                                      \
    X(SetPolygon, vollo_set_polygon)                                \
    X(Blit, vollo_blit)                                             \
    X(Fill, vollo_fill)                                             \
    X(Draw, vollo_draw)                                             \
    X(Display, vollo_display)                                       \
    X(DeleteClipable, vollo_delete_clipable)                        \
    X(SetKeyResponse, vollo_set_key_response)                       \
    X(SetTextResponse, vollo_set_text_response)                     \
    X(SetClickResponse, vollo_set_click_response)                   \
    X(SetMoveResponse, vollo_set_move_response)                     \
    X(SetWheelResponse, vollo_set_wheel_response)                   \
    X(SetJoystickConnectResponse, vollo_set_joy_connect_response)   \
    X(SetJoystickButtonResponse, vollo_set_joy_button_response)     \
    X(SetJoystickAxisResponse, vollo_set_joy_axis_response)         \
    X(SetLoopMainFunction, vollo_set_loop_main_function)            \
    X(Loop, vollo_loop)                                             \
    X(MousePosition, vollo_get_mouse_position)                      \
    X(MouseButton, vollo_get_mouse_button)                          \
    X(Keyboard, vollo_get_keyboard)                                 \
    X(JoyButton, vollo_get_joy_button)                              \
    X(JoyAxis, vollo_get_joy_axis)                                  \
    X(SetContext, vollo_set_context)                                \
    X(GetContext, vollo_get_context)                                \
    X(LoadMusic, vollo_load_music)                                  \
    X(LoadEffect, vollo_load_effect)                                \
    X(SetVolume, vollo_sound_volume)                                \
    X(SetPitch, vollo_sound_pitch)                                  \
    X(SetLoop, vollo_sound_loop)                                    \
    X(PlaySound, vollo_sound_play)                                  \
    X(StopSound, vollo_sound_stop)                                  \
    X(DeleteSound, vollo_delete_sound)                              \
    X(NewIni, vollo_new_ini)                                        \
    X(LoadIni, vollo_load_ini)                                      \
    X(SaveIni, vollo_save_ini)                                      \
    X(GetField, vollo_ini_get_field)                                \
    X(SetField, vollo_ini_set_field)                                \
    X(DeleteIni, vollo_delete_ini)                                  \
    X(FirstScope, vollo_ini_first)                                  \
    X(GetScopeName, vollo_ini_scope_name)                           \
    X(NextScope, vollo_ini_next)                                    \
    X(ScopeGetField, vollo_ini_scope_get_field)                     \
    X(ScopeSetField, vollo_ini_scope_set_field)

#define VOLLO_NAMESPACE_MORE(X)                                     \
    X(Error, vollo_error)                                           \
    X(ClearError, vollo_clear_error)                                \
    X(WriteFile, vollo_write_file)                                  \
    X(WriteNewFile, vollo_write_new_file)                           \
    X(WriteAll, vollo_write_all)                                    \
    X(SetTitle, vollo_set_title)                                    \
    X(SetSize, vollo_set_size)                                      \
    X(SetVerticalSync, vollo_set_vertical_sync)                     \
    X(ShowCursor, vollo_show_cursor)                                \
    X(SetResizeResponse, vollo_set_resize_response)                 \
    X(SetFocusResponse, vollo_set_focus_response)                   \
    X(SetMouseEnterResponse, vollo_set_mouse_enter_response)        \
    X(Time, vollo_get_time)                                         \
    X(FrameTime, vollo_get_frame_time)                              \
    X(Fps, vollo_get_fps)                                           \
    X(RandomSeed, vollo_random_seed)                                \
    X(Random, vollo_random)                                         \
    X(RecordInput, vollo_record_input)                              \
    X(ReplayInput, vollo_replay_input)                              \
    X(KeyDown, vollo_key_down)                                      \
    X(MouseDown, vollo_mouse_down)                                  \
    X(KeyPressed, vollo_key_pressed)                                \
    X(KeyReleased, vollo_key_released)                              \
    X(SetKeyRepeat, vollo_set_key_repeat)                           \
    X(GetClipboard, vollo_get_clipboard)                            \
    X(SetClipboard, vollo_set_clipboard)                            \
    X(GetClipboardPixelArray, vollo_get_clipboard_pixelarray)       \
    X(SetClipboardPixelArray, vollo_set_clipboard_pixelarray)       \
    X(KeyName, vollo_key_name)                                      \
    X(LoadPixelArray, vollo_load_pixelarray)                        \
    X(LoadBmp, vollo_load_bmp)                                      \
    X(LoadPixelArrayError, vollo_load_pixelarray_error)             \
    X(CheckPicture, vollo_check_picture)                            \
    X(PictureSize, vollo_picture_size)                              \
    X(SaveBuffer, vollo_save_buffer)                                \
    X(SoundPlaying, vollo_sound_playing)                            \
    X(PlayVoice, vollo_sound_play_voice)                            \
    X(IniError, vollo_ini_error)                                    \
    X(GetInt, vollo_ini_get_int)                                    \
    X(GetDouble, vollo_ini_get_double)                              \
    X(GetBool, vollo_ini_get_bool)                                  \
    X(DrawText, vollo_draw_text)                                    \
    X(TextSize, vollo_text_size)                                    \
    X(LoadFont, vollo_load_font)                                    \
    X(DrawTextFont, vollo_draw_text_font)                           \
    X(TextSizeFont, vollo_text_size_font)                           \
    X(DeleteFont, vollo_delete_font)                                \
    X(SetRectangle, vollo_set_rectangle)                            \
    X(SetCircle, vollo_set_circle)                                  \
    X(SetEllipse, vollo_set_ellipse)                                \
    X(SetLineWidth, vollo_set_line_width)                           \
    X(SetLogicalSize, vollo_set_logical_size)                       \
    X(LoadPixelArrayRgba, vollo_load_pixelarray_rgba)               \
    X(NewPictureFromPixelArray, vollo_new_picture_from_pixelarray)  \
    X(UpdatePicture, vollo_update_picture)                          \
    X(SetSmooth, vollo_set_smooth)                                  \
    X(SetTint, vollo_set_tint)                                      \
    X(BlitBlend, vollo_blit_blend)                                  \
    X(PauseSound, vollo_sound_pause)                                \
    X(ResumeSound, vollo_sound_resume)                              \
    X(SoundLength, vollo_sound_length)                              \
    X(SoundOffset, vollo_sound_offset)                              \
    X(SeekSound, vollo_sound_seek)                                  \
    X(RectsOverlap, vollo_rects_overlap)                            \
    X(PointInRect, vollo_point_in_rect)                             \
    X(CirclesOverlap, vollo_circles_overlap)                        \
    X(CircleRectOverlap, vollo_circle_rect_overlap)                 \
    X(DecodePicture, vollo_decode_picture)                          \
    X(EncodePixels, vollo_encode_pixels)                            \
    X(DecodeBytes, vollo_decode_bytes)                              \
    X(ReadFile, vollo_read_file)                                    \
    X(AdoptPixels, vollo_adopt_pixels)                              \
    X(DecodePictureScaled, vollo_decode_picture_scaled)             \
    X(DecodeBytesScaled, vollo_decode_bytes_scaled)                 \
    X(ScalePixelArray, vollo_scale_pixelarray)                      \
    X(SetLineColor, vollo_set_line_color)                           \
    X(SetPolygonOutline, vollo_set_polygon_outline)                 \
    X(RandomReal, vollo_random_real)                                \
    X(TextFit, vollo_text_fit)

// Every constant.
#define VOLLO_NAMESPACE(X) VOLLO_NAMESPACE_FIRST(X) VOLLO_NAMESPACE_MORE(X)

// The vollo_ functions with no constant, and why: X(function, reason).
#define VOLLO_NAMESPACE_EXCEPTIONS(X)                                                        \
    X(vollo_blit_shader, "takes an sf::Shader, so its callers use SFML directly already")  \
    X(vollo_malloc, "the tracked allocator keeps flat names only, as set_max_heap_size")   \
    X(vollo_free, "the tracked allocator keeps flat names only, as set_max_heap_size")

#endif
