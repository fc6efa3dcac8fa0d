#include <csetjmp>
#include <csignal>
#include <locale>
#include <new>
#include <sstream>
#include <string>

#include "window_private.hpp"

namespace vollo_internal
{
void (*render_window_probe)(void) = nullptr;
}

namespace
{

// Start-up trap: a SIGABRT raised while the render window is being built jumps
// back here, and start-up fails instead of the process ending. The signal mask
// is saved with the jump point, so SIGABRT is not left blocked after the jump.
sigjmp_buf jump_buffer;

void sigabort(int)
{
    siglongjmp(jump_buffer, 1);
}

// Builds the render window under the trap. The previous SIGABRT disposition
// (handler, flags and mask alike) is restored on every way out.
bool create_window(vollo_window *record)
{
    struct sigaction trap = {};
    struct sigaction previous = {};
    trap.sa_handler = sigabort;
    sigemptyset(&trap.sa_mask);
    sigaction(SIGABRT, &trap, &previous);

    if (sigsetjmp(jump_buffer, 1) != 0)
    {
        // A render window cut short in its constructor is abandoned: it may be
        // half registered inside SFML, so it is neither destroyed nor released.
        record->render_target = nullptr;
        sigaction(SIGABRT, &previous, nullptr);
        return false;
    }
    if (vollo_internal::render_window_probe)
        vollo_internal::render_window_probe();
    sf::RenderWindow *window = new (std::nothrow) sf::RenderWindow();
    record->render_target = window;
    sigaction(SIGABRT, &previous, nullptr);
    return window != nullptr;
}

// Largest window side the X protocol can carry.
const uint32_t largest_side = 65535;

// SFML switches vertical sync off in every new window (it is off already), and a driver
// without the extension answers with this line at every start-up: it says nothing to
// the user, so it is dropped while any other message goes on to SFML's error stream.
const char vertical_sync_line[] = "Setting vertical sync not supported";

// Gathers what SFML writes on its error stream for the life of the object, then passes
// it on without the vertical-sync line.
class WithoutVerticalSyncLine
{
public:
    WithoutVerticalSyncLine() : previous(sf::err().rdbuf(&gathered)) {}
    ~WithoutVerticalSyncLine()
    {
        sf::err().rdbuf(previous);
        std::istringstream lines(gathered.str());
        for (std::string line; std::getline(lines, line);)
            if (line != vertical_sync_line)
                sf::err() << line << std::endl;
    }
    WithoutVerticalSyncLine(const WithoutVerticalSyncLine &) = delete;
    WithoutVerticalSyncLine &operator=(const WithoutVerticalSyncLine &) = delete;

private:
    std::stringbuf gathered;
    std::streambuf *previous;
};

}  // namespace

vollo_window *vollo_start_style(uint32_t width, uint32_t height, uint32_t style, const char *title)
{
    // The X server refuses an empty window, and Xlib's default answer to that
    // refusal is to end the process: such sizes fail here instead.
    if (width == 0 || height == 0 || width > largest_side || height > largest_side)
    {
        vollo_fail("cannot open a %u x %u window: each side must be 1 to %u pixels", width, height, largest_side);
        return nullptr;
    }
    vollo_window *record = new (std::nothrow) vollo_window();
    if (!record)
    {
        vollo_fail("cannot open a window: out of memory");
        return nullptr;
    }
    if (!create_window(record))
    {
        delete record;
        vollo_fail("cannot open a window: no display could be reached (is DISPLAY set to a running X server?)");
        return nullptr;
    }
    sf::RenderWindow *window = static_cast<sf::RenderWindow *>(record->render_target);
    const uint32_t largest_drawn = vollo_internal::largest_window_side();
    if (width > largest_drawn || height > largest_drawn)
    {
        delete window;
        delete record;
        vollo_fail("cannot open a %u x %u window: the graphics driver draws into at most %u x %u pixels", width,
                   height, largest_drawn, largest_drawn);
        return nullptr;
    }

    try
    {
        const sf::String caption(title, std::locale());
        const sf::ContextSettings settings(0, 0, 4, 1, 1);
        // Creating the window switches vertical sync off too.
        const WithoutVerticalSyncLine quiet;
        window->create(sf::VideoMode(width, height, 32), caption, style, settings);
    }
    catch (const std::bad_alloc &)
    {
        delete window;  // out of memory while opening: fail without throwing
        delete record;
        vollo_fail("cannot open a window: out of memory");
        return nullptr;
    }

    record->name = title;
    record->height = height;
    record->type = VOLLO_WINDOW;
    record->width = width;

    for (unsigned int slot = 0; slot < VOLLO_JOYSTICK_COUNT; ++slot)
        if (sf::Joystick::isConnected(slot))
            vollo_internal::fill_joystick_slot(slot);
    vollo_track(record, "window", "vollo_start_style", width, height);
    return record;
}
