#include "memory/memory.hpp"
#include "vollo.h"

int64_t get_max_heap_size(void)
{
    return vollo_memory::heap_size;
}
