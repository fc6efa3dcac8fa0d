#include <chrono>

#include "random.hpp"

namespace vollo_internal
{
namespace
{

uint64_t splitmix64(uint64_t &x)
{
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t rotate_left(uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

}  // namespace

random_generator &generator()
{
    static random_generator state;
    return state;
}

void seed_generator(uint64_t seed)
{
    random_generator &g = generator();
    g.seeded = true;
    g.seed = seed;
    uint64_t x = seed;
    for (uint64_t &word : g.state)
        word = splitmix64(x);
}

uint64_t random_seed_in_effect()
{
    if (!generator().seeded)
        seed_generator(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
                       static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return generator().seed;
}

uint64_t next_random()
{
    random_seed_in_effect();
    uint64_t *s = generator().state;
    const uint64_t result = rotate_left(s[1] * 5, 7) * 9;
    const uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotate_left(s[3], 45);
    return result;
}

}  // namespace vollo_internal
