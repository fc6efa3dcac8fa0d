#include "window_private.hpp"

void vollo_show_cursor(vollo_window *window, bool visible)
{
    if (!window || !window->render_target)
        return;
    static_cast<sf::RenderWindow *>(window->render_target)->setMouseCursorVisible(visible);
}
