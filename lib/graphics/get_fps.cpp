#include "window_private.hpp"

double vollo_get_fps(void)
{
    return vollo_internal::frames().fps;
}
