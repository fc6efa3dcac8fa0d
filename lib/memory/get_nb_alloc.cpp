#include "memory/memory.hpp"
#include "vollo.h"

uint64_t get_nb_alloc(void)
{
    memhead *arena = memory_head();
    return arena == nullptr ? 0 : arena->allocated_chunks;
}
