#include "graphics.hpp"

void vollo_display(vollo_window *window)
{
    if (!window || window->type != VOLLO_WINDOW || !window->render_target)
        return;
    static_cast<sf::RenderWindow *>(window->render_target)->display();
}
