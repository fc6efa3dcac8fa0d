// The library's functions a second time, as constant pointers in the Vollo
// namespace. Each is constexpr, so the compiler refuses anything but constant
// initialisation: the pointers sit in read-only data, already set when the program
// is loaded, before any static constructor or main runs. Their types come from
// the declarations in vollo.h (decltype of each function's address).
#include "vollo.h"

namespace Vollo
{
// Window and start-up.
constexpr decltype(&vollo_start) Start = &vollo_start;
constexpr decltype(&vollo_start_style) StartStyle = &vollo_start_style;
constexpr decltype(&vollo_stop) Stop = &vollo_stop;

// Clipables, blit, fill, display and drawing.
constexpr decltype(&vollo_new_picture) NewPicture = &vollo_new_picture;
constexpr decltype(&vollo_load_picture) LoadPicture = &vollo_load_picture;
constexpr decltype(&vollo_new_pixelarray) NewPixelArray = &vollo_new_pixelarray;
constexpr decltype(&vollo_set_pixel) SetPixel = &vollo_set_pixel;
constexpr decltype(&vollo_set_line) SetLine = &vollo_set_line;
constexpr decltype(&vollo_set_polygon) SetPolygon = &vollo_set_polygon;
constexpr decltype(&vollo_blit) Blit = &vollo_blit;  // vollo_blit_shader has no constant
constexpr decltype(&vollo_fill) Fill = &vollo_fill;
constexpr decltype(&vollo_draw) Draw = &vollo_draw;
constexpr decltype(&vollo_display) Display = &vollo_display;
constexpr decltype(&vollo_delete_clipable) DeleteClipable = &vollo_delete_clipable;

// Main loop and responses.
constexpr decltype(&vollo_set_key_response) SetKeyResponse = &vollo_set_key_response;
constexpr decltype(&vollo_set_text_response) SetTextResponse = &vollo_set_text_response;
constexpr decltype(&vollo_set_click_response) SetClickResponse = &vollo_set_click_response;
constexpr decltype(&vollo_set_move_response) SetMoveResponse = &vollo_set_move_response;
constexpr decltype(&vollo_set_wheel_response) SetWheelResponse = &vollo_set_wheel_response;
constexpr decltype(&vollo_set_joy_connect_response) SetJoystickConnectResponse =
    &vollo_set_joy_connect_response;
constexpr decltype(&vollo_set_joy_button_response) SetJoystickButtonResponse =
    &vollo_set_joy_button_response;
constexpr decltype(&vollo_set_joy_axis_response) SetJoystickAxisResponse = &vollo_set_joy_axis_response;
constexpr decltype(&vollo_set_loop_main_function) SetLoopMainFunction = &vollo_set_loop_main_function;
constexpr decltype(&vollo_loop) Loop = &vollo_loop;

// Input state.
constexpr decltype(&vollo_get_mouse_position) MousePosition = &vollo_get_mouse_position;
constexpr decltype(&vollo_get_mouse_button) MouseButton = &vollo_get_mouse_button;
constexpr decltype(&vollo_get_keyboard) Keyboard = &vollo_get_keyboard;
constexpr decltype(&vollo_get_joy_button) JoyButton = &vollo_get_joy_button;
constexpr decltype(&vollo_get_joy_axis) JoyAxis = &vollo_get_joy_axis;
constexpr decltype(&vollo_set_context) SetContext = &vollo_set_context;
constexpr decltype(&vollo_get_context) GetContext = &vollo_get_context;

// Sound.
constexpr decltype(&vollo_load_music) LoadMusic = &vollo_load_music;
constexpr decltype(&vollo_load_effect) LoadEffect = &vollo_load_effect;
constexpr decltype(&vollo_sound_volume) SetVolume = &vollo_sound_volume;
constexpr decltype(&vollo_sound_pitch) SetPitch = &vollo_sound_pitch;
constexpr decltype(&vollo_sound_loop) SetLoop = &vollo_sound_loop;
constexpr decltype(&vollo_sound_play) PlaySound = &vollo_sound_play;
constexpr decltype(&vollo_sound_stop) StopSound = &vollo_sound_stop;
constexpr decltype(&vollo_delete_sound) DeleteSound = &vollo_delete_sound;

// INI store.
constexpr decltype(&vollo_new_ini) NewIni = &vollo_new_ini;
constexpr decltype(&vollo_load_ini) LoadIni = &vollo_load_ini;
constexpr decltype(&vollo_save_ini) SaveIni = &vollo_save_ini;
constexpr decltype(&vollo_ini_get_field) GetField = &vollo_ini_get_field;
constexpr decltype(&vollo_ini_set_field) SetField = &vollo_ini_set_field;
constexpr decltype(&vollo_delete_ini) DeleteIni = &vollo_delete_ini;
constexpr decltype(&vollo_ini_first) FirstScope = &vollo_ini_first;
constexpr decltype(&vollo_ini_scope_name) GetScopeName = &vollo_ini_scope_name;
constexpr decltype(&vollo_ini_next) NextScope = &vollo_ini_next;
constexpr decltype(&vollo_ini_scope_get_field) ScopeGetField = &vollo_ini_scope_get_field;
constexpr decltype(&vollo_ini_scope_set_field) ScopeSetField = &vollo_ini_scope_set_field;
}  // namespace Vollo
