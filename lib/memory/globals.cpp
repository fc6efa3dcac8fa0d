// Process-wide state of the tracked allocator.
#include "memory/memory.hpp"
#include "vollo.h"

int32_t memory_check = 0;
uint64_t border0 = 0;
uint64_t border1 = 0;

namespace vollo_memory
{
int32_t heap_size = 20;
memhead *head = nullptr;
arena_state state = arena_state::none;
memtree *class_index[indexed_classes] = {};
}  // namespace vollo_memory
