#include <unistd.h>

#include "window_private.hpp"

namespace
{

// Microseconds since the loop began, modulo 2^32: every difference of two such
// readings is taken unsigned, so the loop runs on across the wrap (about 71 minutes).
uint32_t microseconds(const sf::Clock &clock)
{
    return static_cast<uint32_t>(clock.getElapsedTime().asMicroseconds());
}

// Drains the pending events, then calls the main function.
vollo_response run_frame(vollo_window *record, sf::RenderWindow *window, void *data)
{
    vollo_internal::note_frame_start();
    if (window)
    {
        sf::Event event;
        while (window->pollEvent(event))
        {
            if (event.type == sf::Event::Resized)
                vollo_internal::follow_resize(record, event.size.width, event.size.height);
            vollo_internal::mouse_to_space(record, event);
            const vollo_response result = vollo_internal::dispatch_event(event, data);
            if (result != VOLLO_CONTINUE)
                return result;  // later events stay queued
        }
    }
    if (gl_callback.loop_main_function)
        return gl_callback.loop_main_function(data);
    return VOLLO_CONTINUE;
}

}  // namespace

// A frame runs once strictly more than one period has passed since the last tick.
// Late frames are caught up in a burst, never skipped and never run early; the
// loop sleeps between ticks, except with frequency 0 where frames run back to back.
vollo_response vollo_loop(vollo_window *window, uint8_t frequency, void *data)
{
    sf::RenderWindow *events = window ? static_cast<sf::RenderWindow *>(window->render_target) : nullptr;
    const sf::Clock clock;
    vollo_internal::note_loop_entry();
    const uint32_t period = frequency ? static_cast<uint32_t>(1000000.0 / frequency) : 0;
    uint32_t last = microseconds(clock);
    for (;;)
    {
        const uint32_t now = microseconds(clock);
        const uint32_t elapsed = now - last;
        if (elapsed <= period)
        {
            usleep(period - elapsed);
            continue;
        }
        uint32_t lag = elapsed - period;
        for (;;)
        {
            const vollo_response result = run_frame(window, events, data);
            if (result != VOLLO_CONTINUE)
                return result;
            last += period;
            if (lag <= period)
            {
                // Until the next tick as reckoned before the frames ran.
                usleep(period - (now - last));
                break;
            }
            lag -= period;
        }
    }
}
