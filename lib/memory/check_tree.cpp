#include "memory/memory.hpp"
#include "vollo.h"

namespace
{
// Damaged blocks in one circular list. A damaged header may hold damaged
// links too, so every link is checked to stay inside the carved arena before
// it is followed, and the walk is bounded by the number of headers that fit.
int32_t count_damaged(const memhead *arena, memchunk *list)
{
    using namespace vollo_memory;

    int32_t damaged = 0;
    uint64_t limit = static_cast<uint64_t>(arena->arena_next - carve_start(arena)) / sizeof(memchunk);
    memchunk *chunk = list;
    for (uint64_t seen = 0; chunk != nullptr && seen < limit; ++seen) {
        if (!inside_carved(arena, chunk, sizeof(memchunk)))
            return damaged + 1;
        if (chunk->border0 != border0 || chunk->border1 != border1)
            ++damaged;
        chunk = chunk->next;
        if (chunk == list)
            break;
    }
    return damaged;
}
}  // namespace

int32_t check_tree(memtree *node)
{
    const memhead *arena = vollo_memory::head;
    int32_t damaged = 0;
    for (; node != nullptr; node = node->greater) {
        if (arena == nullptr || !vollo_memory::inside_carved(arena, node, sizeof(memtree)))
            return damaged;
        damaged += count_damaged(arena, node->used);
        damaged += count_damaged(arena, node->released);
        damaged += check_tree(node->lesser);
    }
    return damaged;
}
