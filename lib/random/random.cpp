#include "graphics/input_private.hpp"
#include "random.hpp"
#include <utility>

#include "vollo.h"

// Uniform without modulo bias: draws below 2^64 mod span are thrown away, so every
// value of the span is reached by the same number of 64-bit draws.
int32_t vollo_random(int32_t min, int32_t max)
{
    // A replay sets the recorded seed before the first number is drawn.
    vollo_internal::open_input_session_from_environment();
    if (min > max)
        std::swap(min, max);
    const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(max) - min) + 1;
    const uint64_t threshold = (0 - span) % span;
    uint64_t draw = vollo_internal::next_random();
    while (draw < threshold)
        draw = vollo_internal::next_random();
    return static_cast<int32_t>(static_cast<int64_t>(min) + static_cast<int64_t>(draw % span));
}
