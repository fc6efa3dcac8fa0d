#include "window_private.hpp"

void vollo_display(vollo_window *window)
{
    if (!window || window->type != VOLLO_WINDOW || !window->render_target)
        return;
    // Drawing never reaches outside the logical space: the bars are made black here.
    vollo_internal::paint_bars(window);
    static_cast<sf::RenderWindow *>(window->render_target)->display();
}
