#include "input_private.hpp"

bool vollo_record_input(const char *path)
{
    return vollo_internal::open_recording(path);
}
