#include "window_private.hpp"

double vollo_get_frame_time(void)
{
    return vollo_internal::frames().frame_time / 1e6;
}
