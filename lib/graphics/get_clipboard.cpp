#include <string>

#include "input_private.hpp"

const char *vollo_get_clipboard(void)
{
    static std::string text;
    if (!vollo_internal::clipboard_reachable("vollo_get_clipboard"))
        return "";
    const std::basic_string<sf::Uint8> bytes = sf::Clipboard::getString().toUtf8();
    text.assign(bytes.begin(), bytes.end());
    return text.c_str();
}
