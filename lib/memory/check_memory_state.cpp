#include <cstdio>
#include <cstdlib>

#include "error/records.hpp"
#include "memory/memory.hpp"
#include "vollo.h"

void check_memory_state(void)
{
    using namespace vollo_memory;

    // Without a live arena there is nothing to report or release; this is
    // also the second run at exit after a failed vollo_free already released it.
    memhead *arena = head;
    if (arena == nullptr)
        return;
    if (memory_check != 0) {
        std::fprintf(stderr, "Call to malloc: %lu\n", static_cast<unsigned long>(arena->malloc_calls));
        std::fprintf(stderr, "Sum of all byte requests: %lu\n",
                     static_cast<unsigned long>(arena->requested_bytes));
        std::fprintf(stderr, "Currently allocated chunks: %lu\n",
                     static_cast<unsigned long>(arena->allocated_chunks));
        std::fprintf(stderr, "Currently allocated bytes: %lu\n",
                     static_cast<unsigned long>(arena->allocated_bytes));
        std::fprintf(stderr, "Altered chunks: %d\n", check_tree(arena->tree));
    }
    if (vollo_debug_on())
    {
        std::fprintf(stderr, "vollo: arena of %lld MiB: %llu bytes held by released blocks, %llu never carved\n",
                     (long long)get_max_heap_size(), (unsigned long long)released_bytes(arena->tree),
                     (unsigned long long)room_left(arena));
        print_classes(arena->tree, stderr);
    }
    head = nullptr;
    state = arena_state::released;
    std::free(arena);
}
