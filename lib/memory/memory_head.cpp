#include <cstdlib>

#include "memory/memory.hpp"
#include "vollo.h"

memhead *memory_head(void)
{
    using namespace vollo_memory;

    if (head != nullptr)
        return head;
    if (state == arena_state::released)
        return nullptr;
    border0 = border0_value;
    border1 = border1_value;
    if (heap_size < 0 || heap_size > max_heap_mib)
        return nullptr;
    // Room for the head and for aligning the first carved record, in case the
    // system's block is less aligned than ours.
    size_t total = (static_cast<size_t>(heap_size) << 20) + sizeof(memhead) + alignment;
    void *block = std::malloc(total);
    if (block == nullptr)
        return nullptr;  // no arena: requests fail, a later call tries again
    memhead *arena = static_cast<memhead *>(block);
    *arena = memhead{};
    arena->arena_end = static_cast<unsigned char *>(block) + total;
    arena->arena_next = carve_start(arena);
    head = arena;
    state = arena_state::live;
    std::atexit(check_memory_state);
    return head;
}
