#include "memory/memory.hpp"
#include "vollo.h"

namespace
{
bool damaged(const memchunk *chunk)
{
    return chunk->border0 != border0 || chunk->border1 != border1;
}

// Damaged blocks in one circular list. A damaged header may hold damaged
// links too, so a link is followed only when it points at a header inside the
// carved arena, and every walk is bounded by the number of headers that fit.
// When a forward link is unusable, the rest of the circle is walked backwards
// from the list head up to the block where the forward walk stopped.
int32_t count_damaged(const memhead *arena, memchunk *list)
{
    using namespace vollo_memory;

    if (list == nullptr || !inside_carved(arena, list, sizeof(memchunk)))
        return 0;
    uint64_t limit = static_cast<uint64_t>(arena->arena_next - carve_start(arena)) / sizeof(memchunk);
    int32_t count = 0;
    memchunk *chunk = list;
    uint64_t seen = 0;
    for (;;) {
        count += damaged(chunk) ? 1 : 0;
        memchunk *next = chunk->next;
        if (next == list || ++seen >= limit)
            return count;
        if (!inside_carved(arena, next, sizeof(memchunk)))
            break;
        chunk = next;
    }
    memchunk *stuck = chunk;
    for (memchunk *back = list->prev; back != stuck && seen < limit; back = back->prev, ++seen) {
        if (!inside_carved(arena, back, sizeof(memchunk)))
            break;
        count += damaged(back) ? 1 : 0;
    }
    return count;
}
}  // namespace

int32_t check_tree(memtree *node)
{
    const memhead *arena = vollo_memory::head;
    int32_t altered = 0;
    for (; node != nullptr; node = node->greater) {
        if (arena == nullptr || !vollo_memory::inside_carved(arena, node, sizeof(memtree)))
            return altered;
        altered += count_damaged(arena, node->used);
        altered += count_damaged(arena, node->released);
        altered += check_tree(node->lesser);
    }
    return altered;
}
