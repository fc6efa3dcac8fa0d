#include <new>

#include "memory/memory.hpp"

memchunk *get_node(memhead *head, uint64_t size)
{
    using namespace vollo_memory;

    uint64_t index = size / size_class;
    memtree *node = index < indexed_classes ? class_index[index] : nullptr;
    if (node == nullptr) {
        memtree **link = &head->tree;
        while (*link != nullptr && (*link)->size != size)
            link = size < (*link)->size ? &(*link)->lesser : &(*link)->greater;
        node = *link;
        if (node == nullptr) {
            if (room_left(head) < node_bytes)
                return nullptr;
            node = new (head->arena_next) memtree{size, nullptr, nullptr, nullptr, nullptr};
            head->arena_next += node_bytes;
            *link = node;
        }
        if (index < indexed_classes)
            class_index[index] = node;
    }

    memchunk *chunk = node->released;
    if (chunk != nullptr) {
        list_remove(&node->released, chunk);
    } else {
        // Compared as remaining room, so a huge size cannot wrap the pointer.
        uint64_t room = room_left(head);
        if (room < sizeof(memchunk) || size > room - sizeof(memchunk))
            return nullptr;
        chunk = new (head->arena_next) memchunk{};
        head->arena_next += sizeof(memchunk) + size;
        chunk->node = node;
    }
    list_push(&node->used, chunk);
    return chunk;
}
