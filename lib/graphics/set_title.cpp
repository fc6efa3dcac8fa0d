#include <locale>

#include "window_private.hpp"

void vollo_set_title(vollo_window *window, const char *title)
{
    if (!window || !window->render_target)
        return;
    sf::RenderWindow *target = static_cast<sf::RenderWindow *>(window->render_target);
    // Read in the global locale, as at start-up; a null title is an empty one.
    target->setTitle(sf::String(title, std::locale()));
    window->name = title;
}
