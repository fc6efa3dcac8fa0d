#include <SFML/Graphics/RenderWindow.hpp>

#include "error/error.hpp"
#include "vollo.h"

void vollo_set_key_repeat(vollo_window *window, bool repeat)
{
    if (!window || !window->render_target)
    {
        vollo_fail("vollo_set_key_repeat: no window (open one with vollo_start)");
        return;
    }
    static_cast<sf::RenderWindow *>(window->render_target)->setKeyRepeatEnabled(repeat);
}
