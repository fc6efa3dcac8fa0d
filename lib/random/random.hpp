// Private to the library: the generator behind vollo_random, and its seed for the
// recording of a run's input.
#ifndef VOLLO_RANDOM_PRIVATE_HPP
#define VOLLO_RANDOM_PRIVATE_HPP

#include <cstdint>

namespace vollo_internal
{

// xoshiro256** (Blackman and Vigna), its state filled from the seed by splitmix64:
// the same numbers for a seed on every machine and with every compiler.
struct random_generator
{
    bool seeded = false;
    uint64_t seed = 0;
    uint64_t state[4] = {};
};
random_generator &generator();
void seed_generator(uint64_t seed);
// The seed in effect, taking one from the clock when none has been set yet.
uint64_t random_seed_in_effect();
uint64_t next_random();

}  // namespace vollo_internal

#endif
