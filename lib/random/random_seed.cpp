#include "random.hpp"
#include "vollo.h"

void vollo_random_seed(uint64_t seed)
{
    vollo_internal::seed_generator(seed);
}
