#include "vollo.h"

namespace
{

// Indexed by key code.
const char *const key_names[VOLLO_KEY_COUNT] = {
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S", "T", "U", "V",
    "W", "X", "Y", "Z", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "Escape", "Left Control", "Left Shift",
    "Left Alt", "Left System", "Right Control", "Right Shift", "Right Alt", "Right System", "Menu", "[", "]", ";",
    ",", ".", "'", "/", "\\", "`", "=", "-", "Space", "Enter", "Backspace", "Tab", "Page Up", "Page Down", "End",
    "Home", "Insert", "Delete", "Numpad +", "Numpad -", "Numpad *", "Numpad /", "Left", "Right", "Up", "Down",
    "Numpad 0", "Numpad 1", "Numpad 2", "Numpad 3", "Numpad 4", "Numpad 5", "Numpad 6", "Numpad 7", "Numpad 8",
    "Numpad 9", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12", "F13", "F14", "F15",
    "Pause"};

}  // namespace

const char *vollo_key_name(int32_t key)
{
    if (key < 0 || key >= VOLLO_KEY_COUNT)
        return "Unknown";
    return key_names[key];
}
