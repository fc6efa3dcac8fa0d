#include <SFML/Window/WindowStyle.hpp>

#include "vollo.h"
#include "error/records.hpp"

static_assert(sf::Style::Default == 7 && sf::Style::Fullscreen == 8, "SFML's window styles");

vollo_window *vollo_start(uint32_t width, uint32_t height, bool fullscreen, const char *title)
{
    vollo_window *window =
        vollo_start_style(width, height, fullscreen ? sf::Style::Fullscreen : sf::Style::Default, title);
    vollo_track(window, "window", "vollo_start", width, height);
    return window;
}
