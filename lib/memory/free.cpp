#include "memory/memory.hpp"
#include "vollo.h"

void vollo_free(void *pointer)
{
    using namespace vollo_memory;

    if (pointer == nullptr)
        return;
    // Once the arena is gone every old pointer dangles; there is nothing left
    // to release and nothing may be read.
    if (state == arena_state::released)
        return;
    // A pointer whose header would lie outside the carved arena is not ours;
    // it is refused before anything is read through it. The header's address
    // is computed as an integer, since a wild pointer minus the header size
    // need not be an address at all.
    uintptr_t address = reinterpret_cast<uintptr_t>(pointer);
    if (head == nullptr || address < sizeof(memchunk))
        bad_pointer(pointer);
    memchunk *chunk = reinterpret_cast<memchunk *>(address - sizeof(memchunk));
    if (!inside_carved(head, chunk, sizeof(memchunk)))
        bad_pointer(pointer);
    if (chunk->border0 != border0 || chunk->border1 != border1 || chunk->state != chunk_in_use)
        bad_pointer(pointer);

    memtree *node = chunk->node;
    list_remove(&node->used, chunk);
    list_push(&node->released, chunk);
    chunk->state = chunk_released;
    head->allocated_chunks -= 1;
    head->allocated_bytes -= node->size;
}
