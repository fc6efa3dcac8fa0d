#include <unistd.h>

#include "input_private.hpp"
#include "window_private.hpp"

namespace
{

// Microseconds since the loop began, modulo 2^32: every difference of two such
// readings is taken unsigned, so the loop runs on across the wrap (about 71 minutes).
uint32_t microseconds(const sf::Clock &clock)
{
    return static_cast<uint32_t>(clock.getElapsedTime().asMicroseconds());
}

// A frame runs once strictly more than one period has passed since the last tick.
// Late frames are caught up in a burst, never skipped and never run early; the
// loop sleeps between ticks, except with frequency 0 where frames run back to back.
vollo_response paced_frames(vollo_window *window, uint8_t frequency, void *data)
{
    const sf::Clock clock;
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
            const vollo_response result = vollo_internal::run_frame(window, data);
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

}  // namespace

vollo_response vollo_loop(vollo_window *window, uint8_t frequency, void *data)
{
    vollo_internal::loop_begins(frequency);
    const vollo_response result = vollo_internal::replaying() ? vollo_internal::replay_frames(window, data)
                                                              : paced_frames(window, frequency, data);
    vollo_internal::loop_ends(result);
    return result;
}
