#include "error/error.hpp"
#include "window_private.hpp"

namespace
{
// As for window sides: beyond this the scale arithmetic is not worth trusting.
const uint32_t largest_side = 65535;
}  // namespace

void vollo_set_logical_size(vollo_window *window, uint32_t width, uint32_t height, bool whole_factors)
{
    if (!window || window->type != VOLLO_WINDOW || !window->render_target)
    {
        vollo_fail("vollo_set_logical_size: no window given (null or not a window)");
        return;
    }
    if ((width == 0) != (height == 0) || width > largest_side || height > largest_side)
    {
        vollo_fail("vollo_set_logical_size: cannot draw in a %u x %u space (give 1..65535 on each side, "
                   "or 0 x 0 for one window pixel per buffer pixel)",
                   width, height);
        return;
    }
    // The last known pointer position moves into the new space with the window.
    const vollo_position pointer = vollo_internal::space_to_window(window, gl_mouse);
    window->logical_width = width;
    window->logical_height = height;
    window->whole_factors = width != 0 && whole_factors;
    const sf::Vector2u size = static_cast<sf::RenderWindow *>(window->render_target)->getSize();
    vollo_internal::follow_resize(window, size.x, size.y);
    gl_mouse = vollo_internal::window_to_space(window, pointer);
}
