#include "window_private.hpp"

namespace vollo_internal
{

frame_clock &frames()
{
    static frame_clock clock;
    return clock;
}

void start_frame_clock()
{
    frame_clock &state = frames();
    if (!state.started)
    {
        state.clock.restart();
        state.started = true;
    }
}

int64_t live_clock_now()
{
    frame_clock &state = frames();
    return state.started ? state.clock.getElapsedTime().asMicroseconds() : 0;
}

int64_t frame_clock_now()
{
    frame_clock &state = frames();
    return state.frozen ? state.frozen_at : live_clock_now();
}

void note_loop_entry()
{
    start_frame_clock();
    note_loop_entry_at(live_clock_now());
}

void note_loop_entry_at(int64_t now)
{
    frame_clock &state = frames();
    state.frozen_at = now;
    state.last_frame_start = now;
    state.window_start = now;
    state.window_frames = 0;
}

void note_frame_start()
{
    note_frame_start_at(live_clock_now());
}

void note_frame_start_at(int64_t now)
{
    frame_clock &state = frames();
    state.frozen_at = now;
    state.frame_time = now - state.last_frame_start;
    state.last_frame_start = now;
    ++state.window_frames;
    const int64_t window = now - state.window_start;
    if (window >= 1000000)
    {
        state.fps = state.window_frames * 1e6 / static_cast<double>(window);
        state.window_start = now;
        state.window_frames = 0;
    }
}

}  // namespace vollo_internal
