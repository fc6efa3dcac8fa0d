#include "window_private.hpp"

bool vollo_set_size(vollo_window *window, uint32_t width, uint32_t height)
{
    if (!window || !window->render_target)
    {
        vollo_fail("vollo_set_size: no open window given");
        return false;
    }
    const uint32_t largest_side = vollo_internal::largest_window_side();
    if (width == 0 || height == 0 || width > largest_side || height > largest_side)
    {
        vollo_fail("cannot resize the window to %u x %u: each side must be 1 to %u pixels (the most the "
                   "graphics driver draws into)",
                   width, height, largest_side);
        return false;
    }
    sf::RenderWindow *target = static_cast<sf::RenderWindow *>(window->render_target);
    target->setSize(sf::Vector2u(width, height));
    // The record and the view follow at once; the Resized event that comes later
    // finds them already right and still calls the resize response.
    vollo_internal::follow_resize(window, width, height);
    return true;
}
