#include "window_private.hpp"

namespace vollo_internal
{

void follow_resize(vollo_window *window, uint32_t width, uint32_t height)
{
    if (!window || !window->render_target || width == 0 || height == 0)
        return;
    // With a logical size the record keeps it: it is the space programs draw in.
    const bool logical = window->logical_width != 0;
    window->width = logical ? window->logical_width : width;
    window->height = logical ? window->logical_height : height;
    show_space(window, width, height);
}

}  // namespace vollo_internal
