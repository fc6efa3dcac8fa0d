#include "input_private.hpp"

bool vollo_replay_input(const char *path)
{
    return vollo_internal::open_replay(path);
}
