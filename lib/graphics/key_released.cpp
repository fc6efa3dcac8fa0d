#include "input_private.hpp"

bool vollo_key_released(int32_t key)
{
    const vollo_internal::held_input &state = vollo_internal::held();
    return key >= 0 && key < VOLLO_KEY_COUNT && state.frame != 0 && state.key_released_in[key] == state.frame;
}
