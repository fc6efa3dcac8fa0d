#include "memory/memory.hpp"
#include "vollo.h"

void *vollo_malloc(uint64_t size)
{
    using namespace vollo_memory;

    // Rounding up would wrap to a tiny size; no arena can hold this anyway.
    if (size > UINT64_MAX - (size_class - 1))
        return nullptr;
    size = (size + size_class - 1) & ~(size_class - 1);

    memhead *arena = head != nullptr ? head : memory_head();
    if (arena == nullptr)
        return nullptr;
    memchunk *chunk = get_node(arena, size);
    if (chunk == nullptr)
        return nullptr;

    arena->malloc_calls += 1;
    arena->allocated_chunks += 1;
    arena->requested_bytes += size;
    arena->allocated_bytes += size;
    chunk->border0 = border0;
    chunk->border1 = border1;
    chunk->state = chunk_in_use;
    return chunk + 1;
}
