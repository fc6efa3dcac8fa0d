#include "vollo.h"

static_assert(sf::Style::Default == 7 && sf::Style::Fullscreen == 8, "SFML's window styles");

vollo_window *vollo_start(uint32_t width, uint32_t height, bool fullscreen, const char *title)
{
    return vollo_start_style(width, height, fullscreen ? sf::Style::Fullscreen : sf::Style::Default, title);
}
