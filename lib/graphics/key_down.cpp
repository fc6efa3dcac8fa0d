#include "input_private.hpp"

bool vollo_key_down(int32_t key)
{
    return key >= 0 && key < VOLLO_KEY_COUNT && vollo_internal::held().keys[key];
}
