#include "vollo.h"
#include "error/records.hpp"
#include "input_private.hpp"
// After SFML: the X headers define None, which SFML uses as a name.
#include "clipboard_private.hpp"

// Closes the window and releases the record with the render window it owns.
// Responses, input state and joystick records are process-wide and stay; a picture
// put on the clipboard is no longer served.
void vollo_stop(vollo_window *window)
{
    if (!window)
        return;
    vollo_internal::forget_window(window);
    vollo_internal::close_clipboard();
    sf::RenderWindow *render_window = static_cast<sf::RenderWindow *>(window->render_target);
    if (render_window)
    {
        render_window->close();
        delete render_window;
    }
    vollo_untrack(window);
    delete window;
}
