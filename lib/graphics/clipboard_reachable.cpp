#include "error/error.hpp"
#include "graphics.hpp"
#include "input_private.hpp"

namespace vollo_internal
{

// SFML's clipboard ends the process when it cannot reach the X server, so the server
// is tried first, through a call that fails the same way under the abort trap. Once
// SFML's clipboard holds its own connection, it stays reachable.
bool clipboard_reachable(const char *function)
{
    static bool reached = false;
    if (reached)
        return true;
    const vollo_graphics::quiet_sfml_errors quiet;
    reached = vollo_graphics::run_trapping_abort([](void *) { sf::VideoMode::getDesktopMode(); }, nullptr);
    if (!reached)
        vollo_fail("%s: no display to hold the clipboard (is DISPLAY set?)", function);
    return reached;
}

}  // namespace vollo_internal
