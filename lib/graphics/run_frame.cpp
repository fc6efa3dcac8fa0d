#include "input_private.hpp"
#include "window_private.hpp"
// After SFML: the X headers define None, which SFML uses as a name.
#include "clipboard_private.hpp"

namespace vollo_internal
{

vollo_response run_frame(vollo_window *window, void *data)
{
    frame_begins();
    serve_clipboard();
    sf::Event event;
    while (next_event(window, event))
    {
        const vollo_response result = dispatch_event(event, data);
        if (result != VOLLO_CONTINUE)
            return result;  // later events stay queued
    }
    if (gl_callback.loop_main_function)
        return gl_callback.loop_main_function(data);
    return VOLLO_CONTINUE;
}

}  // namespace vollo_internal
