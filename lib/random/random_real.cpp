#include "graphics/input_private.hpp"
#include "random.hpp"
#include "vollo.h"

// The top 53 bits of one draw, as the fraction of a double: every value k / 2^53 equally likely.
double vollo_random_real(void)
{
    vollo_internal::open_input_session_from_environment();
    return double(vollo_internal::next_random() >> 11) * 0x1.0p-53;
}
