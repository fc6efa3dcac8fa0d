#include "graphics.hpp"

void vollo_set_vertical_sync(vollo_window *window, bool enabled)
{
    if (!window || !window->render_target)
        return;
    // A driver without the setting says so on SFML's error stream; the library prints nothing.
    vollo_graphics::quiet_sfml_errors quiet;
    static_cast<sf::RenderWindow *>(window->render_target)->setVerticalSyncEnabled(enabled);
}
