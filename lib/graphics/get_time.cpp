#include "window_private.hpp"

double vollo_get_time(void)
{
    return vollo_internal::frame_clock_now() / 1e6;
}
