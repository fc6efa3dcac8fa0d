// CPU time that vollo_loop uses per second of wall-clock time at 100 frames a
// second with a trivial main function: without a window, and polling the events
// of an idle window on a private Xvfb. The loop sleeps between frames, so this
// should stay well under 1% of a core.
#include <time.h>

#include <cstdio>

#include "vollo.h"
#include "xvfb.hpp"

namespace
{

double seconds(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

struct Run
{
    double stop_at = 0;
    long frames = 0;
};

vollo_response trivial_frame(void *data)
{
    Run &run = *static_cast<Run *>(data);
    ++run.frames;
    return seconds(CLOCK_MONOTONIC) >= run.stop_at ? 0 : VOLLO_CONTINUE;
}

void measure(const char *what, vollo_window *window, double duration)
{
    Run run;
    vollo_set_loop_main_function(trivial_frame);
    const double wall_start = seconds(CLOCK_MONOTONIC);
    const double cpu_start = seconds(CLOCK_THREAD_CPUTIME_ID);
    run.stop_at = wall_start + duration;
    vollo_loop(window, 100, &run);
    const double cpu = seconds(CLOCK_THREAD_CPUTIME_ID) - cpu_start;
    const double wall = seconds(CLOCK_MONOTONIC) - wall_start;
    std::printf("%-28s %6.1f frames/s  %8.1f us CPU per second  = %.3f%% of a core\n", what,
                double(run.frames) / wall, cpu / wall * 1e6, cpu / wall * 100.0);
}

}  // namespace

int main()
{
    const double duration = 5.0;
    std::printf("vollo_loop at 100 Hz, trivial main function, %.0f s each\n", duration);
    measure("no window", nullptr, duration);

    if (vollo_test::start_xvfb().empty())
    {
        std::printf("%-28s skipped: no Xvfb\n", "idle window (Xvfb)");
        return 0;
    }
    vollo_window *window = vollo_start(1050, 800, false, "bench loop");
    if (!window)
    {
        std::printf("%-28s skipped: no window\n", "idle window (Xvfb)");
        return 0;
    }
    measure("idle window (Xvfb)", window, duration);
    vollo_stop(window);
    return 0;
}
