#include "window_private.hpp"

namespace vollo_internal
{

void follow_resize(vollo_window *window, uint32_t width, uint32_t height)
{
    if (!window || !window->render_target || width == 0 || height == 0)
        return;
    window->width = width;
    window->height = height;
    sf::RenderWindow *target = static_cast<sf::RenderWindow *>(window->render_target);
    target->setView(sf::View(sf::FloatRect(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height))));
}

}  // namespace vollo_internal
