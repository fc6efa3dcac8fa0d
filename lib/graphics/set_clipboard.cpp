#include <cstring>

#include "input_private.hpp"

void vollo_set_clipboard(const char *text)
{
    if (!vollo_internal::clipboard_reachable("vollo_set_clipboard"))
        return;
    const char *bytes = text ? text : "";
    sf::Clipboard::setString(sf::String::fromUtf8(bytes, bytes + std::strlen(bytes)));
}
